#pragma once

#include <QStringList>

namespace ovex {

// Hands an address to the desktop's default handler for "Open", exactly as
// given, and returns without waiting or reporting anything.
class WebOpener
{
public:
    virtual ~WebOpener() = default;
    virtual void Open(const QString& address) = 0;
};

// xdg-open on Linux, open on macOS, ShellExecuteA with "Open" on Windows.
class DesktopWebOpener final : public WebOpener
{
public:
    void Open(const QString& address) override;
};

class FakeWebOpener final : public WebOpener
{
public:
    void Open(const QString& address) override { m_opened.append(address); }
    const QStringList& Opened() const { return m_opened; }

private:
    QStringList m_opened;
};

} // namespace ovex
