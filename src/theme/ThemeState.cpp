#include "theme/ThemeState.h"

#include "theme/ThemeKeys.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>
#include <memory>

namespace ovex {

QString& TextOf(ThemeState& state, int field)
{
    return field == NameField ? state.name : state.sizes[field - FirstSizeField];
}

const QString& TextOf(const ThemeState& state, int field)
{
    return field == NameField ? state.name : state.sizes[field - FirstSizeField];
}

ThemeState NewThemeState()
{
    ThemeState state;
    state.name = QString::fromLatin1(PlaceholderName);
    state.sizes.fill(QString::fromLatin1(DefaultSize));
    return state;
}

ThemeFields ChangedFields(const ThemeState& a, const ThemeState& b)
{
    ThemeFields fields = 0;
    for (int i = 0; i < SlotCount; ++i) {
        if (a.slots[i] != b.slots[i])
            fields |= Field(i);
    }
    for (int field = NameField; field < FieldCount; ++field) {
        if (TextOf(a, field) != TextOf(b, field))
            fields |= Field(field);
    }
    return fields;
}

QByteArray PackFields(const ThemeState& state, ThemeFields fields)
{
    QByteArray packed;
    QDataStream out(&packed, QIODevice::WriteOnly);
    // One byte a character where every character fits one; UTF-16 otherwise,
    // which keeps any text exactly, lone surrogates included.
    const auto writeText = [&out](const QString& text) {
        const bool narrow = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
        out << quint8(narrow);
        if (narrow) {
            const QByteArray latin1 = text.toLatin1();
            out.writeBytes(latin1.constData(), uint(latin1.size()));
        } else {
            out.writeBytes(reinterpret_cast<const char*>(text.utf16()), uint(text.size() * 2));
        }
    };
    ForEachField(fields, [&](int field) {
        if (field >= SlotCount) {
            writeText(TextOf(state, field));
            return;
        }
        const SlotState& slot = state.slots[field];
        out << quint8(slot.ticked) << qint32(slot.color);
        writeText(slot.tag);
    });
    packed.squeeze();
    return packed;
}

void UnpackFields(const QByteArray& packed, ThemeFields fields, ThemeState& state)
{
    QDataStream in(packed);
    const auto readText = [&in] {
        quint8 narrow = 0;
        in >> narrow;
        char* raw = nullptr;
        uint length = 0;
        in.readBytes(raw, length);
        const std::unique_ptr<char[]> bytes(raw);
        return narrow ? QString::fromLatin1(bytes.get(), qsizetype(length))
                      : QString(reinterpret_cast<const QChar*>(bytes.get()), qsizetype(length / 2));
    };
    ForEachField(fields, [&](int field) {
        if (field >= SlotCount) {
            TextOf(state, field) = readText();
            return;
        }
        quint8 ticked = 0;
        qint32 color = 0;
        in >> ticked >> color;
        state.slots[field] = {ticked != 0, color, readText()};
    });
}

} // namespace ovex
