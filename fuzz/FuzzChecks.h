#pragma once

// The rules each fuzz target checks on one input. Shared by the fuzzers and
// by the Qt test that replays the corpus and every input a fuzzer ever
// failed on. Each check returns a description of the first rule the input
// breaks, or nothing.

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace ovex {
class frmMain;
}

namespace ovex::fuzz {

using Failure = std::optional<QString>;

// A fuzz target's body: a broken rule aborts, so that libFuzzer keeps the input.
template <typename Check>
int RunCheck(const std::uint8_t* data, std::size_t size, Check check)
{
    if (const Failure failure = check(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)))) {
        std::fprintf(stderr, "broken rule: %s\n", qPrintable(*failure));
        std::abort();
    }
    return 0;
}

// Windows-1252 decoding, the line reader and the array loading, on bytes
// held in memory, against a plain byte-level reading of the same rules.
Failure CheckLineReading(QByteArrayView bytes);

// Color_ToText and Color_SplitBase256 on the first bytes taken as numbers,
// ReadComponent, ParseColorEntry and ComposeColor on the rest as text.
Failure CheckColorText(QByteArrayView bytes);

// ColorFromMimeData, as Paste and a colour drop read it, on mime data made
// from the bytes: colour data in several forms, text in several forms, or
// both; and what Copy Colour makes of the colour, pasted back.
Failure CheckClipboard(QByteArrayView bytes);

// DownsampleForPalette, DominantColours and SeedFromPicture on a picture of
// a size, format and pixels taken from the bytes.
Failure CheckPicture(QByteArrayView bytes);

// The whole File, Import on an offscreen editor whose open dialog answers
// with the input written to a .theme file; then Save and Import again.
// Needs a QApplication; keep one for many inputs, it is costly to build.
class ImportChecker
{
public:
    // workDir: an existing empty folder the checker may write into.
    explicit ImportChecker(const QString& workDir);
    ~ImportChecker();
    ImportChecker(const ImportChecker&) = delete;
    ImportChecker& operator=(const ImportChecker&) = delete;

    Failure Check(QByteArrayView bytes);

private:
    struct Doubles;
    QString m_dir;
    std::unique_ptr<Doubles> m_doubles;
    std::unique_ptr<frmMain> m_window;
};

} // namespace ovex::fuzz
