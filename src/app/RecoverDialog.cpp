#include "app/RecoverDialog.h"

#include "colour/PreviewTheme.h"
#include "colour/ThemePicture.h"
#include "recovery/RecoveryKeeper.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace ovex {

namespace {

constexpr int PathRole = Qt::UserRole;

QPushButton* button(const QString& text, const QString& accessibleName, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setAccessibleName(accessibleName);
    b->setAutoDefault(false);
    return b;
}

} // namespace

RecoverDialog::RecoverDialog(RecoveryKeeper& keeper, Recover recover, QWidget* parent)
    : QDialog(parent), m_keeper(keeper), m_recover(std::move(recover))
{
    // One core stays free for the window while the pictures are drawn.
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
    setObjectName(QStringLiteral("RecoverDialog"));
    setWindowTitle(QStringLiteral("Recover Unsaved Themes"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);

    auto* label = new QLabel(QStringLiteral("&Themes that were never saved, newest first:"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstUnsaved"));
    m_list->setAccessibleName(QStringLiteral("Unsaved themes"));
    m_list->setIconSize(PictureSize());
    m_list->setUniformItemSizes(true);
    m_list->setSpacing(2);
    m_list->setMinimumSize(PictureSize().width() * 3, PictureSize().height() * 3);
    label->setBuddy(m_list);
    m_list->viewport()->installEventFilter(this);

    m_recoverButton = button(QStringLiteral("&Recover"), QStringLiteral("Recover"), this);
    m_recoverButton->setObjectName(QStringLiteral("cmdRecover"));
    m_recoverButton->setDefault(true);
    m_discardButton = button(QStringLiteral("&Discard"), QStringLiteral("Discard"), this);
    m_discardButton->setObjectName(QStringLiteral("cmdDiscard"));
    auto* close = button(QStringLiteral("Close"), QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_recoverButton);
    buttons->addWidget(m_discardButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    connect(m_recoverButton, &QPushButton::clicked, this, &RecoverDialog::recoverSelected);
    connect(m_discardButton, &QPushButton::clicked, this, &RecoverDialog::discardSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &RecoverDialog::recoverSelected);
    connect(m_list, &QListWidget::currentRowChanged, this, &RecoverDialog::updateButtons);
    connect(&m_keeper, &RecoveryKeeper::EntriesChanged, this, &RecoverDialog::fill);
    connect(&m_pictures, &QFutureWatcher<QImage>::resultReadyAt, this, [this](int index) {
        const QString& path = m_drawing[index];
        m_drawn.insert(path, QPixmap::fromImage(m_pictures.resultAt(index)));
        showPicture(path);
    });
    fill();
}

RecoverDialog::~RecoverDialog()
{
    m_pictures.cancel();
    m_pictures.waitForFinished();
}

QSize RecoverDialog::PictureSize()
{
    return MockSize * 0.3;
}

bool RecoverDialog::PicturesDrawn() const
{
    return std::all_of(m_shown.begin(), m_shown.end(), [this](const KeptCopy& e) { return m_drawn.contains(e.path); });
}

void RecoverDialog::fill()
{
    // A look that found what is shown already changes nothing, pictures included.
    if (m_keeper.Entries() == m_shown)
        return;
    const int row = m_list->currentRow();
    const QString selected = m_list->currentItem() ? m_list->currentItem()->data(PathRole).toString() : QString();
    m_pictures.cancel();
    m_pictures.waitForFinished();
    m_pictures.setFuture(QFuture<QImage>());  // drops results still on their way
    m_list->clear();
    m_shown = m_keeper.Entries();
    const QDateTime now = QDateTime::currentDateTime();
    QPixmap blank(PictureSize());
    blank.fill(palette().color(QPalette::Base));
    int select = std::min<int>(std::max(row, 0), int(m_shown.size()) - 1);
    for (const KeptCopy& entry : std::as_const(m_shown)) {
        const QString name = EntryName(entry.copy.state.name);
        const QString when = EntryWhen(entry.copy.changedAtMs, now);
        const QString ending = EndingText(entry.copy.ending);
        auto* item = new QListWidgetItem(QIcon(blank), QStringLiteral("%1\n%2, %3").arg(name, when, ending), m_list);
        item->setData(PathRole, entry.path);
        item->setData(Qt::AccessibleTextRole, QStringLiteral("%1, %2, %3").arg(name, when, ending));
        if (const auto drawn = m_drawn.constFind(entry.path); drawn != m_drawn.cend())
            item->setIcon(QIcon(*drawn));
        if (entry.path == selected)
            select = m_list->count() - 1;
    }
    m_list->setCurrentRow(select);
    updateButtons();
    if (m_listShown)
        drawPictures();
}


bool RecoverDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Drawn once the list is on the screen: the drawing threads would
    // otherwise hold up its first paint.
    if (event->type() == QEvent::Paint && watched == m_list->viewport() && !m_listShown) {
        m_listShown = true;
        QMetaObject::invokeMethod(this, &RecoverDialog::drawPictures, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}

void RecoverDialog::showPicture(const QString& path)
{
    for (int row = 0; row < m_list->count(); ++row) {
        if (QListWidgetItem* item = m_list->item(row); item->data(PathRole).toString() == path)
            return item->setIcon(QIcon(m_drawn.value(path)));
    }
}

void RecoverDialog::drawPictures()
{
    // Each copy's picture is drawn once: a copy's file never changes.
    QList<ThemeState> states;
    m_drawing.clear();
    for (const KeptCopy& entry : std::as_const(m_shown)) {
        if (m_drawn.contains(entry.path))
            continue;
        m_drawing.append(entry.path);
        states.append(entry.copy.state);
    }
    m_pictures.setFuture(QtConcurrent::mapped(&m_pool, std::move(states), [](const ThemeState& state) {
        return DrawThemePicture(PreviewThemeOf(state), PictureSize());
    }));
}

void RecoverDialog::updateButtons()
{
    const bool chosen = m_list->currentItem() != nullptr;
    m_recoverButton->setEnabled(chosen);
    m_discardButton->setEnabled(chosen);
}

void RecoverDialog::recoverSelected()
{
    if (QListWidgetItem* item = m_list->currentItem(); item && m_recover(item->data(PathRole).toString()))
        accept();
}

void RecoverDialog::discardSelected()
{
    if (QListWidgetItem* item = m_list->currentItem())
        m_keeper.Discard(item->data(PathRole).toString());
}

} // namespace ovex
