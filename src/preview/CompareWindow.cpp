#include "preview/CompareWindow.h"

#include "colour/GalleryEntry.h"
#include "colour/ThemeCompare.h"
#include "colour/ThemePicture.h"
#include "preview/ReadableText.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QPainter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ovex {

namespace {

// Two across within a small screen.
const QSize PictureSize(420, 285);

QString gradeText(const PreviewTheme& theme)
{
    const ThemeGrade grade = GradeTheme(theme.colors);
    QStringList lines{QStringLiteral("Readability: %1.").arg(GradeDescription(grade))};
    for (const PairResult& warning : Warnings(theme.colors))
        lines << WarningText(warning);
    return lines.join(u'\n');
}

QString valueText(const std::optional<QString>& value)
{
    return value.value_or(QStringLiteral("(not in the theme)"));
}

} // namespace

PictureView::PictureView(const QSize& size, QWidget* parent) : QWidget(parent)
{
    setFixedSize(size);
}

void PictureView::SetImage(const QImage& image)
{
    m_image = image;
    update();
}

void PictureView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(rect(), m_image);
}

CompareWindow::CompareWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(QStringLiteral("Compare Themes"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* sides = new QGridLayout;
    for (int side = 0; side < 2; ++side) {
        m_columns[side] = makeColumn(side);
        sides->addWidget(m_columns[side].title, 0, side);
        sides->addWidget(m_columns[side].picture, 1, side);
        sides->addWidget(m_columns[side].grade, 2, side, Qt::AlignTop);
    }
    m_summary = new ReadableText(QStringLiteral("lblDifferences"), this);
    m_differences = new QTreeWidget(this);
    m_differences->setObjectName(QStringLiteral("lstDifferences"));
    m_differences->setAccessibleName(QStringLiteral("Settings that differ"));
    m_differences->setRootIsDecorated(false);
    m_differences->setColumnCount(4);
    m_differences->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides);
    layout->addWidget(m_summary);
    layout->addWidget(m_differences, 1);
}

CompareWindow::Column CompareWindow::makeColumn(int side)
{
    Column column{new ReadableText(QStringLiteral("lblTitle%1").arg(side), this), new PictureView(PictureSize, this),
                  new ReadableText(QStringLiteral("lblGrade%1").arg(side), this)};
    QFont bold = column.title->font();
    bold.setBold(true);
    column.title->setFont(bold);
    column.title->setMaximumWidth(PictureSize.width());
    column.grade->setMaximumWidth(PictureSize.width());
    return column;
}

void CompareWindow::showSide(const Column& column, const CompareSide& side, const PreviewTheme& theme)
{
    column.title->setText(side.title);
    column.picture->SetImage(DrawThemePicture(theme, PictureSize * devicePixelRatioF()));
    column.picture->setAccessibleName(QStringLiteral("Picture of %1").arg(side.title));
    column.grade->setText(gradeText(theme));
}

void CompareWindow::SetSides(const CompareSide& left, const CompareSide& right)
{
    const PreviewTheme drawn[2] = {PreviewThemeOf(left.state), PreviewThemeOf(right.state)};
    showSide(m_columns[0], left, drawn[0]);
    showSide(m_columns[1], right, drawn[1]);
    const QList<SettingDifference> differences = CompareThemes(left.state, right.state);
    m_summary->setText(differences.isEmpty()        ? QStringLiteral("Both themes write every setting alike.")
                       : differences.size() == 1 ? QStringLiteral("1 setting differs:")
                                                 : QStringLiteral("%1 settings differ:").arg(differences.size()));
    m_differences->clear();
    m_differences->setHeaderLabels({QStringLiteral("Setting"), left.title, right.title, QStringLiteral("Distance (OKLab)")});
    for (const SettingDifference& d : differences) {
        auto* item = new QTreeWidgetItem(m_differences, {SettingName(d.setting), valueText(d.left), valueText(d.right),
                                                        d.distance ? QString::number(*d.distance, 'f', 3) : QString()});
        for (int side = 0; d.distance && side < 2; ++side)
            item->setData(1 + side, Qt::DecorationRole, drawn[side].Color(d.setting));
    }
}

} // namespace ovex
