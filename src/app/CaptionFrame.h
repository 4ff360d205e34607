#pragma once

#include <QWidget>

namespace ovex {

// A classic etched frame with its caption set into the top line, as the
// layout was drawn; a group box of the Fusion style puts the caption above
// the line instead, which pushes the frame into the controls inside it.
class CaptionFrame final : public QWidget
{
    Q_OBJECT
public:
    explicit CaptionFrame(const QString& caption, QWidget* parent = nullptr);

    QString Caption() const { return m_caption; }
    // Where the caption is painted, for checking that it fits.
    QRect CaptionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
};

} // namespace ovex
