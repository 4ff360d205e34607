#include "platform/WebOpener.h"

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#else
#include <QProcess>
#endif

namespace ovex {

void DesktopWebOpener::Open(const QString& address)
{
    // QUrl would re-encode or reject the text (a backslash, say), so the raw
    // text goes to the opener as its argument.
#ifdef Q_OS_WIN
    // The wide call: the ANSI code page would turn a host it cannot hold into "?".
    ::ShellExecuteW(nullptr, L"Open", reinterpret_cast<const wchar_t*>(address.utf16()), L"", nullptr, SW_SHOWNORMAL);
#elif defined(Q_OS_MACOS)
    QProcess::startDetached(QStringLiteral("open"), {address});
#else
    QProcess::startDetached(QStringLiteral("xdg-open"), {address});
#endif
}

} // namespace ovex
