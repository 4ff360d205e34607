#pragma once

#include <QLabel>

namespace ovex {

// A text for the keyboard and screen readers: a word-wrapped label that Tab
// stops at and a screen reader reads when it takes the focus, whose text the
// arrow keys and the mouse can select and copy, with a focus frame to show
// where the keyboard is.
class ReadableText final : public QLabel
{
    Q_OBJECT
public:
    explicit ReadableText(const QString& name, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ovex
