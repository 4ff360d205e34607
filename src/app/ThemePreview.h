#pragma once

#include "app/PreviewScene.h"

#include <QWidget>

#include <functional>

namespace ovex {

// The mock chat window in the theme being edited, with the readability
// warnings and the note on defaults under it. It reads the theme only when
// it paints after a change, so a burst of changes costs one reading, and a
// hidden preview none.
class ThemePreview final : public QWidget
{
    Q_OBJECT
public:
    using Source = std::function<PreviewTheme()>;
    explicit ThemePreview(Source source, QWidget* parent = nullptr);

    // The theme changed: read it again before the next paint.
    void Invalidate();

    // Brought up to date first.
    const PreviewTheme& Theme();
    const Mock& CurrentMock();
    const QList<ContrastWarning>& Warnings();
    // The slot the element at pos shows, or -1.
    int SlotAt(const QPoint& pos);
    QString ToolTipAt(const QPoint& pos);
    // Where warning k (0-based) is listed under the mock.
    QRect WarningLine(qsizetype k) const;

    // How often the theme has been read.
    int Readings() const { return m_readings; }

    QSize sizeHint() const override;

Q_SIGNALS:
    // The user clicked an element showing slot.
    void SlotChosen(int slot);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void refresh();
    int warningAt(const QPoint& pos);
    int panelTop() const;
    QRect notesRect() const;
    void paintMarks(QPainter& painter);
    void paintPanel(QPainter& painter);

    Source m_source;
    bool m_stale = true;
    int m_readings = 0;
    PreviewTheme m_theme;
    Mock m_mock;
    QList<ContrastWarning> m_warnings;
};

} // namespace ovex
