#include "app/DeferredIcon.h"

#include <QIconEngine>

#include <optional>

namespace ovex {

namespace {

class DeferredIconEngine final : public QIconEngine
{
public:
    DeferredIconEngine(std::function<QIcon()> make, QList<QSize> sizes)
        : m_make(std::move(make)), m_sizes(std::move(sizes))
    {
    }

    QIconEngine* clone() const override
    {
        auto* copy = new DeferredIconEngine(m_make, m_sizes);
        copy->m_icon = m_icon;
        return copy;
    }
    QString key() const override { return QStringLiteral("OvexDeferredIconEngine"); }
    QString iconName() override { return icon().name(); }

    bool isNull() override { return knownSizes() ? false : icon().isNull(); }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        if (knownSizes() && mode == QIcon::Normal && state == QIcon::Off)
            return m_sizes;
        return icon().availableSizes(mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1.0, mode, state);
    }
    // size is in device pixels already; QIcon::pixmap multiplies by scale again.
    // For scale > 1, size / scale rounds back to the size first asked for.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return scale > 1.0 ? icon().pixmap(size / scale, scale, mode, state) : pixmap(size, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    void addPixmap(const QPixmap& pixmap, QIcon::Mode mode, QIcon::State state) override
    {
        icon().addPixmap(pixmap, mode, state);
        m_sizes.clear();
    }
    void addFile(const QString& fileName, const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        icon().addFile(fileName, size, mode, state);
        m_sizes.clear();
    }

private:
    bool knownSizes() const { return !m_icon && !m_sizes.isEmpty(); }

    QIcon& icon()
    {
        if (!m_icon)
            m_icon = m_make();
        return *m_icon;
    }

    std::function<QIcon()> m_make;
    QList<QSize> m_sizes;
    std::optional<QIcon> m_icon;
};

} // namespace

QIcon DeferredIcon(std::function<QIcon()> make, QList<QSize> sizes)
{
    return QIcon(new DeferredIconEngine(std::move(make), std::move(sizes)));
}

} // namespace ovex
