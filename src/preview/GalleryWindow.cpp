#include "preview/GalleryWindow.h"

#include "preview/GalleryModel.h"
#include "preview/GalleryPictures.h"
#include "preview/GalleryTile.h"
#include "theme/DefaultFolder.h"
#include "theme/Editor.h"
#include "theme/ThemeCapture.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace ovex {

namespace {

// A third of the mock's size: four across on a small screen.
const QSize PictureSize(187, 127);
// About 440 pictures: a folder of 250 themes is drawn whole, a larger one
// as it is scrolled.
constexpr qint64 PictureBudget = 40 * 1024 * 1024;

QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

GalleryWindow::GalleryWindow(const Editor& editor, const QString& folder, const QIcon& icon)
    : QWidget(nullptr, Qt::Window), m_editor(editor), m_folderDialog(*editor.cd)
{
    setObjectName(QStringLiteral("frmGallery"));
    setWindowTitle(QStringLiteral("Theme Gallery"));
    setWindowIcon(icon);
    setAttribute(Qt::WA_DeleteOnClose);

    m_model = new GalleryModel(this);
    m_proxy = new GalleryProxy(m_model, this);
    m_pictures = new GalleryPictures(PictureSize, devicePixelRatioF(), PictureBudget, this);

    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("txtFilter"));
    m_filter->setAccessibleName(QStringLiteral("Filter by name"));
    m_filter->setPlaceholderText(QStringLiteral("Part of a name"));
    m_filter->setClearButtonEnabled(true);
    m_order = new QComboBox(this);
    m_order->setObjectName(QStringLiteral("cboOrder"));
    m_order->setAccessibleName(QStringLiteral("Order"));
    for (const GalleryOrder order : GalleryOrders)
        m_order->addItem(GalleryOrderName(order));
    auto* top = new QHBoxLayout;
    top->addWidget(buddyLabel(QStringLiteral("Fil&ter:"), m_filter, this));
    top->addWidget(m_filter, 1);
    top->addWidget(buddyLabel(QStringLiteral("&Order:"), m_order, this));
    top->addWidget(m_order);

    m_folder = new QLabel(this);
    m_folder->setObjectName(QStringLiteral("lblFolder"));
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_status);

    m_view = new QListView(this);
    m_view->setObjectName(QStringLiteral("lstThemes"));
    m_view->setAccessibleName(QStringLiteral("Themes"));
    m_view->setViewMode(QListView::IconMode);
    m_view->setMovement(QListView::Static);
    m_view->setResizeMode(QListView::Adjust);
    m_view->setUniformItemSizes(true);
    // Thousands of entries are laid out a few hundred at a time, the window
    // answering in between.
    m_view->setLayoutMode(QListView::Batched);
    m_view->setBatchSize(200);
    m_view->setSpacing(4);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setModel(m_proxy);
    m_view->setItemDelegate(new GalleryTile(*m_proxy, *m_pictures, m_view));
    m_view->setMinimumSize(4 * (PictureSize.width() + 24) + 24, 2 * (PictureSize.height() + 64));
    m_view->viewport()->installEventFilter(this);

    m_refusedLabel = new QLabel(QStringLiteral("Files Import would &refuse:"), this);
    m_refused = new QListWidget(this);
    m_refused->setObjectName(QStringLiteral("lstRefused"));
    m_refused->setAccessibleName(QStringLiteral("Files Import would refuse"));
    m_refused->setMaximumHeight(5 * fontMetrics().height());
    m_refusedLabel->setBuddy(m_refused);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(folderRow);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_refusedLabel);
    layout->addWidget(m_refused);
    buildButtons(layout);

    connect(m_filter, &QLineEdit::textChanged, m_proxy, &GalleryProxy::SetText);
    connect(m_order, &QComboBox::currentIndexChanged, this,
            [this](int i) { m_proxy->SetOrder(GalleryOrders[std::size_t(i)]); });
    connect(m_view, &QAbstractItemView::activated, this, [this](const QModelIndex& i) { importEntry(i.row()); });
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &GalleryWindow::updateButtons);
    connect(m_model, &GalleryModel::RefusedChanged, this, &GalleryWindow::updateRefused);
    connect(m_model, &GalleryModel::BusyChanged, this, &GalleryWindow::updateStatus);
    connect(m_pictures, &GalleryPictures::Ready, m_view->viewport(), qOverload<>(&QWidget::update));

    // What is drawn ahead follows the order shown, once per burst of changes.
    auto* prefetch = new QTimer(this);
    prefetch->setSingleShot(true);
    connect(prefetch, &QTimer::timeout, this,
            [this] { m_pictures->Prefetch(m_proxy->Shown(m_pictures->Capacity())); });
    const auto shownChanged = [this, prefetch] {
        prefetch->start();
        updateStatus();
    };
    connect(m_proxy, &QAbstractItemModel::rowsInserted, this, shownChanged);
    connect(m_proxy, &QAbstractItemModel::rowsRemoved, this, shownChanged);
    connect(m_proxy, &QAbstractItemModel::layoutChanged, this, shownChanged);
    connect(m_proxy, &QAbstractItemModel::modelReset, this, shownChanged);

    m_filter->installEventFilter(this);
    const QList<QWidget*> order{m_filter, m_order, m_view, m_import, m_compareTwo, m_compareEdited, m_openFolder, m_refused};
    for (qsizetype k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
    m_filter->setFocus();
    SetFolder(folder);
    updateButtons();
    updateRefused();
}

void GalleryWindow::buildButtons(QBoxLayout* layout)
{
    const auto button = [this](const char* name, const QString& text, void (GalleryWindow::*click)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAccessibleName(QString(text).remove(u'&').remove(QStringLiteral("...")));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    m_import = button("cmdImport", QStringLiteral("&Import"), &GalleryWindow::importChosen);
    m_compareTwo = button("cmdCompare", QStringLiteral("&Compare"), &GalleryWindow::compareChosen);
    m_compareEdited = button("cmdCompareEdited", QStringLiteral("Compare with &Edited Theme"), &GalleryWindow::compareWithEdited);
    m_openFolder = button("cmdOpenFolder", QStringLiteral("Open &Folder..."), &GalleryWindow::openFolder);
    m_import->setToolTip(QStringLiteral("Imports the chosen theme into the editor, as File, Import does"));
    m_compareTwo->setToolTip(QStringLiteral("Compares the two chosen themes (Ctrl+click or Shift+arrows to choose two)"));
    m_compareEdited->setToolTip(QStringLiteral("Compares the chosen theme with the theme being edited"));
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {m_import, m_compareTwo, m_compareEdited})
        row->addWidget(b);
    row->addStretch();
    row->addWidget(m_openFolder);
    layout->addLayout(row);
}

void GalleryWindow::SetFolder(const QString& folder)
{
    m_model->SetFolder(folder);
    m_folder->setText(QDir::toNativeSeparators(folder));
    m_folder->setToolTip(m_folder->text());
    updateStatus();
}

bool GalleryWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Paint) {
        m_pictures->BeginPaint();
        return false;
    }
    if (watched != m_filter || event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Down && m_proxy->rowCount() > 0) {
        m_view->setFocus(Qt::TabFocusReason);
        if (!m_view->currentIndex().isValid())
            m_view->setCurrentIndex(m_proxy->index(0, 0));
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        importChosen();
        return true;
    }
    return false;
}

QList<int> GalleryWindow::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void GalleryWindow::importEntry(int row)
{
    if (row >= 0 && row < m_proxy->rowCount())
        Q_EMIT ImportChosen(m_proxy->Entry(row).file.path);
}

void GalleryWindow::importChosen()
{
    // The only entry left by the filter needs no choosing.
    if (m_proxy->rowCount() == 1)
        return importEntry(0);
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid() && m_view->selectionModel()->isSelected(current))
        return importEntry(current.row());
    if (const QList<int> rows = selectedRows(); rows.size() == 1)
        importEntry(rows.first());
}

void GalleryWindow::compareChosen()
{
    const QList<int> rows = selectedRows();
    if (rows.size() != 2)
        return;
    showComparison(sideOf(m_proxy->Entry(rows[0])), sideOf(m_proxy->Entry(rows[1])));
}

CompareSide GalleryWindow::sideOf(const GalleryEntry& entry) const
{
    // The file as it is now, with every value as written.
    const ThemeFileReading reading = ReadThemeFile(*m_editor.FileSystem, entry.file.path);
    if (reading.status != ThemeFileStatus::Read)
        return {QStringLiteral("%1: %2").arg(entry.file.fileName, RefusalReason(reading.status)), reading.state};
    return {entry.Title(), reading.state};
}

void GalleryWindow::compareWithEdited()
{
    const QList<int> rows = selectedRows();
    if (rows.size() != 1)
        return;
    const GalleryEntry& entry = m_proxy->Entry(rows.first());
    const ThemeState edited = CaptureTheme(m_editor);
    showComparison({QStringLiteral("Being edited: %1").arg(edited.name), edited}, sideOf(entry));
}

void GalleryWindow::showComparison(const CompareSide& left, const CompareSide& right)
{
    // One comparison at a time: the open one shows the new pair.
    if (!m_compare)
        m_compare = new CompareWindow(this);
    m_compare->SetSides(left, right);
    m_compare->show();
    m_compare->raise();
    m_compare->activateWindow();
}

void GalleryWindow::openFolder()
{
    m_folderDialog.InitDir = DefaultThemeFolder;
    m_folderDialog.FileName = QDir::toNativeSeparators(m_model->Folder());
    if (m_folderDialog.ShowFolder() == DialogResult::Chosen)
        SetFolder(QDir::fromNativeSeparators(m_folderDialog.FileName));
}

void GalleryWindow::updateButtons()
{
    const qsizetype chosen = selectedRows().size();
    m_import->setEnabled(chosen == 1);
    m_compareTwo->setEnabled(chosen == 2);
    m_compareEdited->setEnabled(chosen == 1);
}

void GalleryWindow::updateStatus()
{
    const int shown = m_proxy->rowCount();
    const int all = m_model->rowCount();
    QString text = shown == all ? QStringLiteral("%1 themes").arg(all) : QStringLiteral("%1 of %2 themes").arg(shown).arg(all);
    if (m_model->Busy())
        text = QStringLiteral("Reading the folder... %1").arg(text);
    m_status->setText(text);
}

void GalleryWindow::updateRefused()
{
    m_refused->clear();
    for (const GalleryEntry& entry : m_model->Refused()) {
        const QString reason = RefusalReason(entry.status);
        auto* item = new QListWidgetItem(QStringLiteral("%1: %2").arg(entry.file.fileName, reason), m_refused);
        item->setToolTip(reason);
        item->setData(Qt::UserRole, entry.file.fileName);
    }
    const bool any = m_refused->count() > 0;
    m_refusedLabel->setVisible(any);
    m_refused->setVisible(any);
}

} // namespace ovex
