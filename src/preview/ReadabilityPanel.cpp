#include "preview/ReadabilityPanel.h"

#include "preview/Badge.h"
#include "preview/PairsDialog.h"
#include "preview/ReadableText.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovex {

namespace {

QString warningText(const PairResult& r)
{
    return QStringLiteral("%1: %2, needs %3").arg(QLatin1String(r.Pair().what), RatioText(r.ratio),
                                                  QStringLiteral("%1:1").arg(Threshold(r.Pair().kind)));
}

QString headingText(VisionType vision, qsizetype warnings)
{
    const QString seen = vision == VisionType::Normal ? QString()
                                                      : QStringLiteral(" with %1").arg(VisionTypeName(vision).toLower());
    if (warnings == 0)
        return QStringLiteral("Readability%1: every text reads well (4.5:1 or more) and every control shows (3:1 or more).")
            .arg(seen);
    return QStringLiteral("Readability%1: %2 hard to read or to see").arg(seen).arg(warnings == 1 ? QStringLiteral("1 pair is")
                                                                                                   : QStringLiteral("%1 pairs are").arg(warnings));
}

} // namespace

ReadabilityPanel::ReadabilityPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ReadabilityPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    // Every text is a Tab stop, in reading order: the heading, each warning
    // just before its Fix button, the buttons, then the notes and hints.
    m_heading = new ReadableText(QStringLiteral("lblReadability"), this);
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    layout->addWidget(m_heading);

    for (std::size_t k = 0; k < CheckedPairCount; ++k) {
        Row row{new QWidget(this), nullptr, nullptr, nullptr};
        auto* line = new QHBoxLayout(row.widget);
        line->setContentsMargins(0, 0, 0, 0);
        row.badge = new Badge(row.widget);
        row.text = new ReadableText(QStringLiteral("lblWarning%1").arg(k), row.widget);
        row.fix = new QPushButton(QStringLiteral("Fix"), row.widget);
        row.fix->setObjectName(QStringLiteral("cmdFix%1").arg(k));
        line->addWidget(row.badge);
        line->addWidget(row.text, 1);
        line->addWidget(row.fix);
        row.widget->hide();
        layout->addWidget(row.widget);
        connect(row.fix, &QPushButton::clicked, this, [this, k] { fixRow(qsizetype(k)); });
        m_rows.append(row);
    }

    auto* buttons = new QHBoxLayout;
    m_fixAll = new QPushButton(QStringLiteral("Fix All"), this);
    m_fixAll->setObjectName(QStringLiteral("cmdFixAll"));
    m_fixAll->setAccessibleName(QStringLiteral("Fix All"));
    m_showAll = new QPushButton(QStringLiteral("Show all pairs"), this);
    m_showAll->setObjectName(QStringLiteral("cmdShowAllPairs"));
    m_showAll->setAccessibleName(QStringLiteral("Show all pairs"));
    buttons->addWidget(m_fixAll);
    buttons->addStretch();
    buttons->addWidget(m_showAll);
    layout->addLayout(buttons);
    connect(m_fixAll, &QPushButton::clicked, this, &ReadabilityPanel::fixAll);
    connect(m_showAll, &QPushButton::clicked, this, &ReadabilityPanel::showAllPairs);

    m_note = new ReadableText(QStringLiteral("lblFixNote"), this);
    m_hints = new ReadableText(QStringLiteral("lblHints"), this);
    m_simulationNote = new ReadableText(QStringLiteral("lblSimulationNote"), this);
    for (QLabel* label : {m_note, m_hints, m_simulationNote}) {
        label->hide();
        layout->addWidget(label);
    }
}

QPushButton* ReadabilityPanel::FixButton(qsizetype row) const
{
    return row < m_warnings.size() ? m_rows[row].fix : nullptr;
}

QString ReadabilityPanel::Note() const
{
    return m_note->text();
}

void ReadabilityPanel::SetResults(const SlotColors& colors, VisionType vision,
                                  const std::array<PairResult, CheckedPairCount>& results)
{
    m_colors = colors;
    m_vision = vision;
    m_results = results;
    m_warnings.clear();
    QStringList hints;
    for (const PairResult& r : results) {
        if (r.IsWarning())
            m_warnings.append(r);
        else if (r.grade == Grade::Hint)
            hints << QStringLiteral("%1 (%2)").arg(QLatin1String(r.Pair().what), RatioText(r.ratio));
    }

    m_heading->setText(headingText(vision, m_warnings.size()));
    for (qsizetype k = 0; k < m_rows.size(); ++k) {
        const Row& row = m_rows[k];
        const bool shown = k < m_warnings.size();
        if (shown) {
            const PairResult& r = m_warnings[k];
            const QString text = warningText(r);
            row.badge->SetNumber(int(k) + 1);
            row.text->setText(text);
            // The number is the mark in the picture, which a screen reader cannot see.
            row.text->setAccessibleName(QStringLiteral("Warning %1 of %2: %3").arg(k + 1).arg(m_warnings.size()).arg(text));
            row.fix->setAccessibleName(QStringLiteral("Fix: %1").arg(QLatin1String(r.Pair().what)));
            row.fix->setAccessibleDescription(text);
            row.fix->setToolTip(QStringLiteral("Change the front colour as little as needed to reach %1:1")
                                    .arg(Threshold(r.Pair().kind)));
        }
        row.widget->setVisible(shown);
    }
    m_fixAll->setVisible(m_warnings.size() >= 2);

    // The note stays while a pair it names still warns.
    m_unfixed.removeIf([&](qsizetype k) { return !results[k].IsWarning(); });
    m_note->setText(UnfixedNote(m_unfixed));
    m_note->setVisible(!m_unfixed.isEmpty());

    m_hints->setText(hints.isEmpty() ? QString()
                                     : QStringLiteral("Hint: disabled text is exempt, but reads more easily at 3:1 or more: %1.")
                                           .arg(hints.join(QStringLiteral("; "))));
    m_hints->setVisible(!hints.isEmpty());

    const QString note = SimulationNote(FailuresOnlyWithSimulation(colors));
    m_simulationNote->setText(note);
    m_simulationNote->setVisible(!note.isEmpty());

    if (m_table)
        m_table->SetResults(vision, results);
}

void ReadabilityPanel::fixRow(qsizetype row)
{
    if (row >= m_warnings.size())
        return;
    const qsizetype k = m_warnings[row].pair;
    const CheckedPair& pair = CheckedPairs[k];
    if (const QList<SlotFix> fixes = FixPairColors(m_colors, k, m_vision); !fixes.isEmpty()) {
        m_unfixed.clear();
        Q_EMIT ColorsChosen(QStringLiteral("Fix: %1").arg(QLatin1String(pair.what)), fixes);
        return;
    }
    m_unfixed = {k};
    SetResults(m_colors, m_vision, m_results);
}

void ReadabilityPanel::fixAll()
{
    const FixAllResult result = FixAll(m_colors, m_vision);
    m_unfixed = result.unfixed;
    const QList<SlotFix> changes = ChangedSlots(m_colors, result.colors);
    if (!changes.isEmpty())
        Q_EMIT ColorsChosen(QStringLiteral("Fix All"), changes);
    SetResults(m_colors, m_vision, m_results);
}

void ReadabilityPanel::showAllPairs()
{
    if (!m_table) {
        m_table = new PairsDialog(this);
        m_table->setAttribute(Qt::WA_DeleteOnClose);
        m_table->SetResults(m_vision, m_results);
    }
    m_table->show();
    m_table->raise();
    m_table->activateWindow();
}

} // namespace ovex
