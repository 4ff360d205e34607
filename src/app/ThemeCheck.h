#pragma once

#include "platform/MessageBox.h"

#include <QString>
#include <QStringList>

#include <memory>

class QTextStream;

namespace ovex {

class frmMain;
struct Editor;

// Exit statuses of a check, worst last: the worst file decides the run's.
enum class CheckStatus { Readable = 0, PairFails = 1, NotChecked = 2 };

struct ThemeCheckResult
{
    QStringList lines;
    CheckStatus status = CheckStatus::Readable;
};

// Whether Import finds anything in file: a line beginning with "name=" or
// with a theme key.
bool HasThemeSettings(const Editor& editor, const QString& file);

// Reads file exactly as Import does, into window (never shown), with messages
// recorded by messages rather than shown, and judges the theme's readability
// as the preview does. One line per failing pair, or one line saying why the
// file could not be read or holds no theme settings, or one "ok" line.
ThemeCheckResult CheckThemeFile(frmMain& window, FakeMessageBox& messages, const QString& file);

// A hidden editor to check files on, one after another.
class ThemeChecker
{
public:
    ThemeChecker();
    ~ThemeChecker();
    ThemeCheckResult Check(const QString& file);
    frmMain& Window() const { return *m_window; }

private:
    FakeMessageBox* m_messages = nullptr;
    std::unique_ptr<frmMain> m_window;
};

// Checks each file in turn and writes its lines to out; returns the exit
// status of the worst file.
int RunThemeCheck(const QStringList& files, QTextStream& out);

} // namespace ovex
