#include "FuzzChecks.h"

#include "app/frmMain.h"
#include "fileio/Cp1252.h"
#include "fileio/MRW_Import.h"
#include "slots/MRW_Color.h"
#include "theme/ColorComponents.h"
#include "theme/NewTheme.h"
#include "theme/ThemeCapture.h"
#include "theme/ThemeFile.h"

#include <QAction>
#include <QUndoStack>
#include <QDir>
#include <QFile>
#include <QList>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace ovex::fuzz {

namespace {

QString fail(const char* what) { return QString::fromLatin1(what); }

// ---------------------------------------------------------------- lines

// The leading non-empty lines of raw bytes, read straight from the rules:
// CR LF, a lone CR and a lone LF end a line; an empty line or the end of
// the bytes stops; one line more than the limit is enough to know.
QList<QByteArray> referenceLines(QByteArrayView bytes)
{
    QList<QByteArray> lines;
    const qsizetype n = bytes.size();
    qsizetype pos = 0;
    while (lines.size() <= MaxImportLines) {
        if (pos >= n || bytes[pos] == '\r' || bytes[pos] == '\n')
            break;
        qsizetype end = pos;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.append(bytes.sliced(pos, end - pos).toByteArray());
        pos = end;
        if (pos < n)
            pos += (bytes[pos] == '\r' && pos + 1 < n && bytes[pos + 1] == '\n') ? 2 : 1;
    }
    return lines;
}

// ---------------------------------------------------------------- colours

// A component as the import reads it, by a regular expression rather than
// by walking characters: blanks (space, tab), a sign, ASCII digits.
std::optional<qint16> referenceComponent(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("\\A[ \\t]*([+-]?)0*([0-9]+)[ \\t]*\\z"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString digits = m.captured(2);
    if (digits.size() > 5)
        return std::nullopt;
    int value = digits.toInt();
    if (m.captured(1) == u'-')
        value = -value;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<qint16>(value);
}

quint32 readLittleEndian(QByteArrayView bytes, qsizetype at, int width)
{
    quint32 value = 0;
    for (int i = 0; i < width; ++i) {
        const qsizetype k = at + i;
        const auto b = k < bytes.size() ? static_cast<unsigned char>(bytes[k]) : 0u;
        value |= quint32(b) << (8 * i);
    }
    return value;
}

Failure checkToText(ColorValue value)
{
    const QString text = Color_ToText(value);
    if (value < 0)
        return text.isEmpty() ? Failure{} : fail("a system colour gave a colour text");
    if (value > 0xFFFFFF)
        return text == u"0,0,0" ? Failure{} : fail("a value above 0xFFFFFF did not give 0,0,0");

    const QString expected = QStringLiteral("%1,%2,%3")
                                 .arg(value & 0xFF)
                                 .arg((value >> 8) & 0xFF)
                                 .arg((value >> 16) & 0xFF);
    if (text != expected)
        return QStringLiteral("Color_ToText(%1) gave %2, not %3").arg(value).arg(text, expected);

    // What Save writes, Import must read back to the same colour.
    ColorComponents components{-1, -1, -1};
    const QString rest = ParseColorEntry(text + u',', components);
    if (!rest.isEmpty())
        return fail("a colour text left something unread");
    if (ComposeColor(components) != value)
        return QStringLiteral("the colour text %1 read back as %2").arg(text).arg(ComposeColor(components));
    return {};
}

Failure checkSplit(ColorValue value, std::uint8_t count, std::uint8_t flags)
{
    const std::size_t size = flags & 7;
    const bool resize = flags & 8;
    DigitArray digits(size);
    for (std::size_t i = 0; i < size; ++i)
        digits[i] = static_cast<std::uint8_t>(0xA0 + i);
    const DigitArray before = digits;

    const SplitResult result = Color_SplitBase256(value, count, digits, resize);
    if (resize && digits.size() != count)
        return fail("resize did not give count digits");
    const std::size_t held = digits.size();

    // No digits: nothing to do, whatever the value.
    if (count == 0) {
        if (result != SplitResult::Done || (!resize && digits != before))
            return fail("a split into no digits failed or wrote something");
        return {};
    }
    // The top digit takes what the lower ones leave, so a split succeeds
    // exactly when the value fits and the array holds every index.
    const bool fits = value >= 0 && (count >= 4 || value < (qint64(1) << (8 * count)));
    if (fits && held >= count) {
        if (result != SplitResult::Done)
            return QStringLiteral("splitting %1 into %2 digits failed").arg(value).arg(count);
        qint64 sum = 0;
        for (int i = count; i >= 1; --i) {
            if (i > 4 && digits[i - 1] != 0)
                return fail("a digit of weight 256^4 or more is not 0");
            if (i <= 4)
                sum += qint64(digits[i - 1]) << (8 * (i - 1));
        }
        if (sum != value)
            return QStringLiteral("the digits of %1 add up to %2").arg(value).arg(sum);
    } else if (result == SplitResult::Done) {
        return QStringLiteral("splitting %1 into %2 digits of %3 succeeded").arg(value).arg(count).arg(held);
    }
    if (result == SplitResult::OutOfRange && held >= count)
        return fail("out of range though the array holds every index");
    // Past the digits it was asked for, nothing is touched.
    if (!resize) {
        for (std::size_t i = count; i < size; ++i) {
            if (digits[i] != before[i])
                return fail("a digit beyond count was written");
        }
    }
    return {};
}

Failure checkComponentText(const QString& text, ColorComponents start)
{
    const auto read = ReadComponent(text);
    if (read != referenceComponent(text)) {
        return QStringLiteral("ReadComponent(\"%1\") gave %2")
            .arg(text, read ? QString::number(*read) : QStringLiteral("nothing"));
    }

    // The entry read as comma-separated pieces: up to three pieces before
    // a comma are components, the rest stays.
    const QStringList pieces = text.split(u',');
    const qsizetype used = std::min<qsizetype>(3, pieces.size() - 1);
    ColorComponents expected = start;
    qint16* fields[] = {&expected.red, &expected.green, &expected.blue};
    for (qsizetype i = 0; i < used; ++i) {
        if (const auto v = referenceComponent(pieces[i]))
            *fields[i] = *v;
    }
    const QString expectedRest = pieces.mid(used).join(u',');

    ColorComponents got = start;
    const QString rest = ParseColorEntry(text, got);
    if (rest != expectedRest)
        return QStringLiteral("ParseColorEntry(\"%1\") left \"%2\"").arg(text, rest);
    if (got.red != expected.red || got.green != expected.green || got.blue != expected.blue)
        return QStringLiteral("ParseColorEntry(\"%1\") read the wrong components").arg(text);

    const ColorValue composed = ComposeColor(got);
    const auto channel = [](qint16 c) { return std::clamp<int>(c, 0, 255); };
    if (composed != channel(got.red) + 256 * channel(got.green) + 65536 * channel(got.blue))
        return fail("ComposeColor did not clamp each channel to 0..255");
    return {};
}

// ---------------------------------------------------------------- import

const QString Placeholder = QStringLiteral("Theme Name");
const QString PaletteNotice = QStringLiteral(
    "Sorry! Currently the Ovex Theme Editor does not support the Primary/Secondary syntax, "
    "however, the same effects can be accomplished using some of the standard editor features...");

// A well-formed colour text: three readable components and nothing else.
std::optional<ColorValue> plainColor(const QString& tag)
{
    const QStringList parts = tag.split(u',');
    if (parts.size() != 3)
        return std::nullopt;
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        const auto v = referenceComponent(parts[i]);
        if (!v)
            return std::nullopt;
        channels[i] = std::clamp<int>(*v, 0, 255);
    }
    return channels[0] + 256 * channels[1] + 65536 * channels[2];
}

struct Snapshot
{
    QString name;
    std::array<bool, SlotCount> ticked{};
    std::array<QString, SlotCount> tag;
    std::array<ColorValue, SlotCount> color{};
    std::array<QString, SizeSlotCount> sizes;
};

Snapshot snapshot(const Editor& ed)
{
    Snapshot s;
    s.name = ed.txtThemeName->text();
    for (int k = 0; k < SlotCount; ++k) {
        s.ticked[k] = ed.slots.Value(k) == 1;
        s.tag[k] = ed.slots.s[k]->Tag();
        s.color[k] = ed.slots.s[k]->BackColor();
    }
    for (int k = 0; k < SizeSlotCount; ++k)
        s.sizes[k] = ed.slots.sizeBox[k]->text();
    return s;
}

bool isNewState(const Snapshot& s)
{
    if (s.name != Placeholder)
        return false;
    for (int k = 0; k < SlotCount; ++k) {
        if (s.ticked[k] || !s.tag[k].isEmpty() || s.color[k] != UnsetColor)
            return false;
    }
    return std::all_of(s.sizes.begin(), s.sizes.end(), [](const QString& t) { return t == u"12"; });
}

QString keyOf(const Editor& ed, int k) { return ed.ImportKeys[k]; }

} // namespace

Failure CheckLineReading(QByteArrayView bytes)
{
    const QString text = Cp1252_Decode(bytes);
    if (text.size() != bytes.size())
        return fail("decoding changed the number of characters");
    if (Cp1252_Encode(text) != bytes.toByteArray())
        return fail("Windows-1252 text does not encode back to its bytes");

    const QList<QByteArray> lines = referenceLines(bytes);
    const int expected = lines.size() > MaxImportLines ? 0 : int(lines.size());

    const LoadedFile file{text};
    const int count = Import_CountLines(file);
    if (count != expected)
        return QStringLiteral("Import_CountLines gave %1, not %2").arg(count).arg(expected);

    StringArray array;
    Mem_Resize(array, 1);
    array[0] = QStringLiteral("held");
    const bool loaded = Import_ReadLines(file, array);
    if (expected == 0) {
        if (loaded || array.UBound() != 1 || array[0] != u"held" || !array[1].isEmpty())
            return fail("a read of no lines changed the array");
        return {};
    }
    if (!loaded || Mem_Count(array) != expected)
        return fail("Import_ReadLines did not size the array to the count");
    for (int i = 0; i < expected; ++i) {
        if (array[i] != Cp1252_Decode(lines[i]))
            return QStringLiteral("line %1 was read as \"%2\"").arg(i).arg(array[i].left(80));
    }

    // Past the last counted line the reader answers empty, and keeps doing so.
    auto stream = file.OpenTextStream();
    for (int i = 0; i < expected; ++i)
        IO_ReadNextLine(stream.get());
    if (!IO_ReadNextLine(stream.get()).isEmpty() || !IO_ReadNextLine(stream.get()).isEmpty())
        return fail("the reader went on past an empty line or the end");
    return {};
}

Failure CheckColorText(QByteArrayView bytes)
{
    const auto value = static_cast<ColorValue>(readLittleEndian(bytes, 0, 4));
    const auto count = static_cast<std::uint8_t>(readLittleEndian(bytes, 4, 1));
    const auto flags = static_cast<std::uint8_t>(readLittleEndian(bytes, 5, 1));

    if (auto f = checkToText(value))
        return f;
    if (auto f = checkSplit(value, count, flags))
        return f;

    const QByteArrayView rest = bytes.size() > 6 ? bytes.sliced(6) : QByteArrayView();
    // Either any UTF-16 text (other scripts' digits, surrogates) or file text.
    QString text;
    if (flags & 16) {
        text.resize(rest.size() / 2);
        if (!text.isEmpty())
            std::memcpy(text.data(), rest.data(), size_t(text.size()) * 2);
    } else {
        text = Cp1252_Decode(rest);
    }
    const ColorComponents start{static_cast<qint16>(value & 0xFFFF),
                                static_cast<qint16>((quint32(value) >> 16) & 0xFFFF),
                                static_cast<qint16>(count - 128)};
    return checkComponentText(text, start);
}

// ---------------------------------------------------------------- ImportChecker

// An open and save dialog that always answers one path; a message box that
// keeps the messages of one check only.
struct ImportChecker::Doubles
{
    struct Dialog final : CommonDialog
    {
        QString answer;
        DialogResult ShowOpen() override { return answerFile(); }
        DialogResult ShowSave() override { return answerFile(); }
        DialogResult ShowColor() override { return DialogResult::Cancelled; }
        DialogResult answerFile()
        {
            FileName = answer;
            return DialogResult::Chosen;
        }
    };
    struct Messages final : MessageBoxService
    {
        QList<FakeMessageBox::Message> shown;
        void Show(const QString& text, const QString& title, MessageStyle style) override
        {
            shown.append({text, title, style});
        }
    };
    Dialog* dialog = nullptr;
    Messages* messages = nullptr;
};

ImportChecker::ImportChecker(const QString& workDir)
    : m_dir(workDir)
    , m_doubles(std::make_unique<Doubles>())
{
    auto dialog = std::make_unique<Doubles::Dialog>();
    auto messages = std::make_unique<Doubles::Messages>();
    m_doubles->dialog = dialog.get();
    m_doubles->messages = messages.get();
    m_window = std::make_unique<frmMain>(
        DesktopServices{std::move(dialog), std::move(messages), std::make_unique<FakeWebOpener>()});
    // Every check starts from New, so no step is ever undone: a history of
    // one keeps the memory of a long run flat.
    m_window->undoStack().setUndoLimit(1);
}

ImportChecker::~ImportChecker() = default;

Failure ImportChecker::Check(QByteArrayView bytes)
{
    Editor& ed = m_window->editor();
    auto& shown = m_doubles->messages->shown;
    QAction* import = m_window->findChild<QAction*>(QStringLiteral("mnuImport"));
    QAction* save = m_window->findChild<QAction*>(QStringLiteral("mnuSave"));

    // Every input starts from the same editor, whatever the last one left.
    ed.ImportLines = StringArray();
    NewTheme(ed);
    shown.clear();

    const QDir dir(m_dir);
    const QString input = dir.filePath(QStringLiteral("input.theme"));
    const QString out1 = dir.filePath(QStringLiteral("out1.theme"));
    const QString out2 = dir.filePath(QStringLiteral("out2.theme"));
    QFile::remove(out1);
    QFile::remove(out2);
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), bytes.size()) != bytes.size())
            return QStringLiteral("cannot write the input file: ") + file.errorString();
    }
    const QStringList filesBefore = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    m_doubles->dialog->answer = input;
    import->trigger();

    if (dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden) != filesBefore)
        return fail("Import created or removed a file");
    if (ed.ImportLines.UBound() >= MaxImportLines)
        return fail("more lines were loaded than the limit");
    // Lists of themes and the command line read files without a window.
    if (ReadThemeFile(*ed.FileSystem, input).state != CaptureTheme(ed))
        return fail("the file read without a window differs from what Import shows");

    const Snapshot s1 = snapshot(ed);
    if (shown.size() > 1)
        return fail("Import showed more than one message");
    if (shown.size() == 1) {
        if (shown[0].text != PaletteNotice || shown[0].title != u"File Support Notice"
            || shown[0].style != MessageStyle::Critical) {
            return QStringLiteral("unexpected message: ") + shown[0].text;
        }
        return isNewState(s1) ? Failure{} : fail("a refused file left something in the editor");
    }

    const QString text = Cp1252_Decode(bytes);
    for (int k = 0; k < SlotCount; ++k) {
        if (!s1.ticked[k]) {
            if (!s1.tag[k].isEmpty() || s1.color[k] != UnsetColor)
                return QStringLiteral("unticked slot %1 holds a value").arg(k);
            continue;
        }
        if (!text.contains(keyOf(ed, k)))
            return QStringLiteral("slot %1 was ticked though no line holds its key").arg(k);
        if (IsSizeSlot(k))
            continue;
        if (s1.color[k] < 0 || s1.color[k] > 0xFFFFFF)
            return QStringLiteral("colour slot %1 shows %2").arg(k).arg(s1.color[k]);
        if (const auto plain = plainColor(s1.tag[k]); plain && *plain != s1.color[k])
            return QStringLiteral("slot %1 with the text %2 shows %3").arg(k).arg(s1.tag[k]).arg(s1.color[k]);
    }
    for (int k = 0; k < SizeSlotCount; ++k) {
        if (!s1.ticked[FirstSizeSlot + k] && s1.sizes[k] != u"12")
            return QStringLiteral("the size box of unticked slot %1 changed").arg(FirstSizeSlot + k);
    }
    if (s1.name != Placeholder && !text.contains(keyOf(ed, SlotCount)))
        return fail("the name changed though no line holds the name key");

    // Save what was imported.
    m_doubles->dialog->answer = out1;
    save->trigger();
    if (s1.name == Placeholder) {
        if (shown.size() != 1 || shown[0].title != u"User Input Error!" || QFile::exists(out1))
            return fail("the placeholder name was not refused");
        return {};
    }
    if (shown.size() != 1 || shown[0].title != u"Theme Creation Notification")
        return QStringLiteral("saving did not succeed: ") + (shown.isEmpty() ? QString() : shown.last().text);
    QFile file1(out1);
    if (!file1.open(QIODevice::ReadOnly))
        return fail("the saved file cannot be read");
    const QByteArray b1 = file1.readAll();
    file1.close();

    const std::optional<QByteArray> name = Cp1252_Encode(s1.name);
    if (!name)
        return fail("an imported name does not encode back");
    const QByteArray nameLine = "name=" + *name + "\r\n";
    if (!b1.startsWith(nameLine) || !b1.endsWith("\r\n"))
        return fail("the saved file does not start with the name line");
    const QList<QByteArray> saved = b1.sliced(nameLine.size()).split('\n');
    int lastSlot = -1;
    for (qsizetype i = 0; i + 1 < saved.size(); ++i) {
        int slot = lastSlot + 1;
        while (slot < SlotCount && !saved[i].startsWith(keyOf(ed, slot).toLatin1()))
            ++slot;
        if (slot == SlotCount || !saved[i].endsWith('\r'))
            return fail("a saved line is out of slot order or lacks CR LF");
        lastSlot = slot;
    }

    // A value holding "=" can tick a later slot when read back, as the key
    // loop goes on; only values without one must come back unchanged.
    for (int k = 0; k < SlotCount; ++k) {
        if (s1.ticked[k] && ed.slots.s[k]->Tag().contains(u'='))
            return {};
    }

    shown.clear();
    m_doubles->dialog->answer = out1;
    import->trigger();
    if (!shown.isEmpty())
        return QStringLiteral("reading back the saved file showed: ") + shown[0].text;
    const Snapshot s2 = snapshot(ed);
    if (s2.name != s1.name)
        return fail("the name did not come back");
    for (int k = 0; k < ColorSlotCount; ++k) {
        const bool written = s1.ticked[k] && !s1.tag[k].isEmpty();
        if (s2.ticked[k] != written || (written && s2.tag[k] != s1.tag[k]))
            return QStringLiteral("colour slot %1 did not come back").arg(k);
    }

    m_doubles->dialog->answer = out2;
    save->trigger();
    QFile file2(out2);
    if (!file2.open(QIODevice::ReadOnly))
        return fail("the second save cannot be read");
    if (file2.readAll() != b1)
        return fail("saving the imported save gave other bytes");
    return {};
}

} // namespace ovex::fuzz
