#include "app/ThemeCheck.h"

#include "preview/ReadPreviewTheme.h"
#include "app/frmMain.h"
#include "colour/Readability.h"
#include "fileio/MRW_Import.h"
#include "theme/ImportTheme.h"

#include <QTextStream>
#include <QUndoStack>

#include <algorithm>

namespace ovex {

namespace {

struct FailingPair
{
    QString what;
    double ratio;
    double needs;
};

struct Readability
{
    qsizetype judged = 0;
    QList<FailingPair> failing;
};

// The pairs the preview warns about, each against its own threshold; the
// disabled-text hints are not judged, as the preview does not warn about them.
Readability JudgeReadability(const PreviewTheme& theme)
{
    Readability result;
    for (const PairResult& pair : EvaluatePairs(theme.colors)) {
        if (pair.Pair().kind == PairKind::DisabledHint)
            continue;
        ++result.judged;
        if (pair.IsWarning())
            result.failing.append({QString::fromLatin1(pair.Pair().what), pair.ratio, Threshold(pair.Pair().kind)});
    }
    return result;
}

// Why Import refused the file, in a few words for a script's log; a message
// not known here is passed on whole.
QString refusalReason(const FakeMessageBox::Message& message)
{
    if (message.title == QLatin1String("File Support Notice"))
        return QStringLiteral("uses the unsupported Primary/Secondary palette words");
    if (message.text.startsWith(QLatin1String("Sorry! File not found")))
        return QStringLiteral("file not found");
    if (message.text == QLatin1String("Sorry! You must select a valid theme file."))
        return QStringLiteral("not a .theme file");
    if (message.text == QLatin1String("Sorry! The file could not be read."))
        return QStringLiteral("could not be read");
    return message.text;
}

} // namespace

bool HasThemeSettings(const Editor& editor, const QString& file)
{
    StringArray lines;
    if (!Import_ReadLines(*editor.FileSystem, file, lines))
        return false;
    const QList<QString>& keys = editor.ImportKeys.Items();
    return std::any_of(lines.Items().begin(), lines.Items().end(), [&](const QString& line) {
        return std::any_of(keys.begin(), keys.end(), [&](const QString& key) { return line.startsWith(key); });
    });
}

ThemeCheckResult CheckThemeFile(frmMain& window, FakeMessageBox& messages, const QString& file)
{
    messages.Clear();
    window.OpenThemeFile(file);
    if (!messages.Shown().isEmpty()) {
        return {{QStringLiteral("%1: error: %2").arg(file, refusalReason(messages.Shown().first()))},
                CheckStatus::NotChecked};
    }
    // Import takes any text file and keeps what it knows; one it knows
    // nothing of is not a theme, however readable the defaults are.
    if (!HasThemeSettings(window.editor(), file))
        return {{QStringLiteral("%1: error: no theme settings found").arg(file)}, CheckStatus::NotChecked};

    const Readability readability = JudgeReadability(ReadPreviewTheme(window.editor()));
    if (readability.failing.isEmpty())
        return {{QStringLiteral("%1: ok (%2 pairs readable)").arg(file).arg(readability.judged)},
                CheckStatus::Readable};
    ThemeCheckResult result{{}, CheckStatus::PairFails};
    for (const FailingPair& pair : readability.failing) {
        result.lines << QStringLiteral("%1: %2: %3, needs %4:1")
                            .arg(file, pair.what, RatioText(pair.ratio), QString::number(pair.needs));
    }
    return result;
}

ThemeChecker::ThemeChecker()
{
    auto messages = std::make_unique<FakeMessageBox>();
    m_messages = messages.get();
    m_window = std::make_unique<frmMain>(DesktopServices{
        std::make_unique<FakeCommonDialog>(), std::move(messages), std::make_unique<FakeWebOpener>()});
    // Nobody undoes a check: keep one step, not one per file, so that
    // thousands of files need no more memory than one.
    m_window->undoStack().setUndoLimit(1);
}

ThemeChecker::~ThemeChecker() = default;

ThemeCheckResult ThemeChecker::Check(const QString& file)
{
    return CheckThemeFile(*m_window, *m_messages, file);
}

int RunThemeCheck(const QStringList& files, QTextStream& out)
{
    ThemeChecker checker;
    CheckStatus worst = CheckStatus::Readable;
    for (const QString& file : files) {
        const ThemeCheckResult result = checker.Check(file);
        for (const QString& line : result.lines)
            out << line << '\n';
        worst = std::max(worst, result.status);
    }
    out.flush();
    return int(worst);
}

} // namespace ovex
