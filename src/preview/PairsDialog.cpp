#include "preview/PairsDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ovex {

namespace {

QString kindText(PairKind kind)
{
    switch (kind) {
    case PairKind::Text:
        return QStringLiteral("Text");
    case PairKind::NonText:
        return QStringLiteral("Control");
    case PairKind::DisabledHint:
        return QStringLiteral("Disabled text");
    }
    Q_UNREACHABLE();
}

} // namespace

PairsDialog::PairsDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPairs"));
    setWindowTitle(QStringLiteral("All Checked Pairs"));
    // Part of the window that opens it: that window's keys (Undo, Redo) work here too.
    if (parent)
        addActions(parent->window()->actions());
    m_table = new QTableWidget(int(CheckedPairCount), 4, this);
    m_table->setObjectName(QStringLiteral("tblPairs"));
    m_table->setAccessibleName(QStringLiteral("All checked pairs"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Pair"), QStringLiteral("Kind"), QStringLiteral("Ratio"),
                                        QStringLiteral("Grade")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setTabKeyNavigation(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(620, 420);
}

void PairsDialog::SetResults(VisionType vision, const std::array<PairResult, CheckedPairCount>& results)
{
    m_table->setAccessibleDescription(QStringLiteral("Ratios as seen with %1").arg(VisionTypeName(vision).toLower()));
    for (const PairResult& r : results) {
        const int row = int(r.pair);
        const QStringList cells = {QLatin1String(r.Pair().what), kindText(r.Pair().kind), RatioText(r.ratio),
                                   GradeText(r.Pair().kind, r.grade)};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column == 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
}

} // namespace ovex
