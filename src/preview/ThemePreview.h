#pragma once

#include "colour/PreviewScene.h"

#include <QWidget>

#include <functional>

namespace ovex {

// The mock chat window in the theme being edited, as seen with the chosen
// vision, with the pairs that read badly outlined and numbered. It reads the
// theme only when it paints after a change, so a burst of changes costs one
// reading, and a hidden preview none.
class ThemePreview final : public QWidget
{
    Q_OBJECT
public:
    using Source = std::function<PreviewTheme()>;
    explicit ThemePreview(Source source, QWidget* parent = nullptr);

    // The theme changed: read it again before the next paint.
    void Invalidate();
    void SetVision(VisionType vision);
    VisionType Vision() const { return m_vision; }

    // Brought up to date first. Theme is as the editor holds it; the mock,
    // the results and the warnings are for the colours as seen.
    const PreviewTheme& Theme();
    const Mock& CurrentMock();
    const std::array<PairResult, CheckedPairCount>& Results();
    const QList<PairResult>& Warnings();
    // The slot the element at pos shows, or -1.
    int SlotAt(const QPoint& pos);
    QString ToolTipAt(const QPoint& pos);

    QSize sizeHint() const override;

Q_SIGNALS:
    // The user clicked an element showing slot.
    void SlotChosen(int slot);
    // What is drawn was worked out again: the results may have changed.
    void Refreshed();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void refresh();
    void paintMarks(QPainter& painter);

    Source m_source;
    bool m_stale = true;        // the theme must be read again
    bool m_seenStale = true;    // what is drawn must be worked out again
    VisionType m_vision = VisionType::Normal;
    PreviewTheme m_theme;
    PreviewTheme m_seen;
    Mock m_mock;
    std::array<PairResult, CheckedPairCount> m_results{};
    QList<PairResult> m_warnings;
};

} // namespace ovex
