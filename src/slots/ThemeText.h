#pragma once

#include <QString>
#include <QStringList>
#include <QValidator>

class QLineEdit;

namespace ovex {

// The name and the size boxes hold what a theme file can: one line of
// Windows-1252 text.

// text without line breaks and without the characters Windows-1252 cannot
// hold. Breaks at the start and end are removed, each run of them inside
// becomes one space ("Night\r\nOwl" gives "Night Owl"): a value is written on
// one line of the theme file, so a break inside it would end the line early
// and cut the file short for the next import. leftOut, when given, gets each
// character left out once (a surrogate pair as one), in order.
QString ThemeLineText(const QString& text, QStringList* leftOut = nullptr);

// "Left out, as a theme file cannot hold them: 海 (U+6D77), 🌊 (U+1F30A)";
// a character that shows nothing as "U+200D" alone; the first eight only.
QString LeftOutNote(const QStringList& characters);

// Keeps a text box to ThemeLineText however text arrives: typed, pasted,
// dropped or set by a command. The cursor keeps its place in the text.
class ThemeTextFilter final : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;

Q_SIGNALS:
    // Characters a theme file cannot hold were left out of the text.
    void LeftOut(const QStringList& characters) const;
};

// Gives box a ThemeTextFilter, and says what it left out where the user
// looks: in a tool tip at the box, then in the box's tool tip and accessible
// description until the next edit that leaves nothing out.
void KeepThemeText(QLineEdit* box);

} // namespace ovex
