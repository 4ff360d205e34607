#pragma once

#include <QString>
#include <QValidator>

namespace ovex {

// text without line breaks: those at the start and end are removed, each run
// of them inside becomes one space ("Night\r\nOwl" gives "Night Owl"). A
// value is written on one line of the theme file, so a break inside it would
// end the line early and cut the file short for the next import.
QString WithoutLineBreaks(const QString& text);

// Keeps line breaks out of a text box however text arrives: typed, pasted,
// dropped or set by a command. The cursor keeps its place in the text.
class LineBreakFilter final : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace ovex
