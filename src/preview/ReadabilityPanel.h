#pragma once

#include "colour/ContrastFix.h"
#include "preview/PairsDialog.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace ovex {

class Badge;

// The readability list under the picture, as widgets a screen reader can
// read: each warning with its number, ratio and threshold and a "Fix"
// button; "Fix All"; the hints; the pairs that fail only for some vision
// type; and "Show all pairs" for the whole table.
class ReadabilityPanel final : public QWidget
{
    Q_OBJECT
public:
    explicit ReadabilityPanel(QWidget* parent = nullptr);

    // colors as the editor holds them; results as drawn, seen with vision.
    void SetResults(const SlotColors& colors, VisionType vision, const std::array<PairResult, CheckedPairCount>& results);

    // The warnings shown, in the order of their rows.
    const QList<PairResult>& ShownWarnings() const { return m_warnings; }
    QPushButton* FixButton(qsizetype row) const;
    QPushButton* FixAllButton() const { return m_fixAll; }
    QPushButton* ShowAllButton() const { return m_showAll; }
    PairsDialog* Table() const { return m_table; }
    QString Note() const;

Q_SIGNALS:
    // A fix was chosen: set these colours as one step named text.
    void ColorsChosen(const QString& text, const QList<SlotFix>& colors);

private:
    struct Row
    {
        QWidget* widget;
        Badge* badge;
        QLabel* text;
        QPushButton* fix;
    };

    void fixRow(qsizetype row);
    void fixAll();
    void showAllPairs();

    QLabel* m_heading = nullptr;
    QList<Row> m_rows;
    QPushButton* m_fixAll = nullptr;
    QPushButton* m_showAll = nullptr;
    QLabel* m_hints = nullptr;
    QLabel* m_note = nullptr;
    QLabel* m_simulationNote = nullptr;
    QPointer<PairsDialog> m_table;

    SlotColors m_colors{};
    VisionType m_vision = VisionType::Normal;
    std::array<PairResult, CheckedPairCount> m_results{};
    QList<PairResult> m_warnings;
    QList<qsizetype> m_unfixed;   // named in the note while they still warn
};

} // namespace ovex
