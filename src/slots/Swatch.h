#pragma once

#include "platform/PackedColor.h"

#include <QWidget>

namespace ovex {

// A slot's filled rectangle. Its Tag holds the slot's value text (what Save
// writes); BackColor the colour it shows, or UnsetColor, painted in the
// palette's base colour (the text-box and list background).
class Swatch final : public QWidget
{
    Q_OBJECT
public:
    explicit Swatch(QWidget* parent = nullptr);

    QString Tag() const { return m_tag; }
    void SetTag(const QString& text);

    ColorValue BackColor() const { return m_backColor; }
    void SetBackColor(ColorValue value);

    // The colour actually painted.
    QColor ShownColor() const;

Q_SIGNALS:
    // The value text or the colour changed.
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_tag;
    ColorValue m_backColor = UnsetColor;
};

} // namespace ovex
