#include "app/FileDrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace ovex {

std::optional<QString> DroppedFile(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return std::nullopt;
    const QString path = urls.first().toLocalFile();
    if (path.isEmpty() || QFileInfo(path).isDir())
        return std::nullopt;
    return path;
}

FileDropFilter::FileDropFilter(QWidget* window, Open open)
    : QObject(window), m_window(window), m_open(std::move(open))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    for (QLineEdit* box : window->findChildren<QLineEdit*>())
        box->installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    // Text dragged into a text box is the box's business.
    if (watched != m_window && !drop->mimeData()->hasUrls())
        return false;

    const std::optional<QString> path = DroppedFile(drop->mimeData());
    if (!path) {
        drop->ignore();
        return true;
    }
    if (drop->possibleActions().testFlag(Qt::CopyAction))
        drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        // After the drop, so that the program the file came from is not kept
        // waiting while a message is on the screen.
        QMetaObject::invokeMethod(this, [open = m_open, file = *path] { open(file); }, Qt::QueuedConnection);
    }
    return true;
}

} // namespace ovex
