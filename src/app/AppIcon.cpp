#include "app/AppIcon.h"

#include <QDir>
#include <QIconEngine>
#include <QMap>

#include <memory>

namespace ovex {

namespace {

// QIcon decodes every file as it is added. This engine decodes them the first
// time a picture is asked for: X11 asks for every size when the window is
// created, but Wayland and offscreen never ask, and start up sooner.
class LazyIconEngine final : public QIconEngine
{
public:
    explicit LazyIconEngine(QMap<int, QString> files) : m_files(std::move(files)) {}

    QIconEngine* clone() const override { return new LazyIconEngine(m_files); }
    QString key() const override { return QStringLiteral("OvexLazyIconEngine"); }
    bool isNull() override { return m_files.isEmpty(); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int size : m_files.keys())
            sizes << QSize(size, size);
        return sizes;
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return loaded().pixmap(size, scale, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

private:
    const QIcon& loaded()
    {
        if (!m_icon) {
            m_icon = std::make_unique<QIcon>();
            for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
                m_icon->addFile(it.value(), QSize(it.key(), it.key()));
        }
        return *m_icon;
    }

    QMap<int, QString> m_files;
    std::unique_ptr<QIcon> m_icon;
};

} // namespace

QIcon AppIcon()
{
    // The resource holds one "<size>.png" per rendered size. The sizes above
    // 64 are for the launcher only and cost 330 KiB as a window icon.
    QMap<int, QString> files;
    const QDir dir(QStringLiteral(":/appicon"));
    for (const QString& name : dir.entryList({QStringLiteral("*.png")}, QDir::Files)) {
        const int size = name.chopped(4).toInt();
        if (size <= MaxWindowIconSize)
            files.insert(size, dir.filePath(name));
    }
    return QIcon(new LazyIconEngine(std::move(files)));
}

} // namespace ovex
