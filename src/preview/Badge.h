#pragma once

#include <QPoint>
#include <QWidget>

class QPainter;

namespace ovex {

// The number of a warning, as a small red disc: on the picture beside the
// pair, and in the list beside its row.
void PaintBadge(QPainter& painter, const QPoint& centre, int number);

class Badge final : public QWidget
{
    Q_OBJECT
public:
    explicit Badge(QWidget* parent = nullptr);
    void SetNumber(int number);

    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_number = 0;
};

} // namespace ovex
