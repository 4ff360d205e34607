#pragma once

#include "colour/GalleryEntry.h"

#include <QCache>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QThreadPool>

namespace ovex {

// The pictures of a list of themes, drawn on threads of their own and kept
// per file and modification time within a memory budget. Those being
// painted are drawn first, then the ones asked for ahead, in that order.
class GalleryPictures final : public QObject
{
    Q_OBJECT
public:
    // Pictures of size (device-independent pixels) on a screen of
    // pixelRatio; budget: the bytes the kept pictures may take.
    GalleryPictures(const QSize& size, qreal pixelRatio, qint64 budget, QObject* parent = nullptr);
    ~GalleryPictures() override;

    QSize Size() const { return m_size; }
    // How many pictures the budget holds.
    qsizetype Capacity() const;

    // A painter starts over: what it asked for before is no longer in view.
    void BeginPaint() { m_urgent.clear(); }
    // The entry's picture, or a null image while it is being drawn: then it
    // is drawn before anything asked for ahead.
    QImage Picture(const GalleryEntry& entry);
    // Draws these when nothing is being painted, in this order, as far as
    // the budget holds them; replaces what was asked for ahead before.
    void Prefetch(const QList<GalleryEntry>& entries);
    // How many pictures are kept.
    qsizetype Count() const { return m_kept.size(); }

Q_SIGNALS:
    // The picture of the file at path is ready.
    void Ready(const QString& path);

private:
    struct Job
    {
        ThemeFolderFile file;
        PreviewTheme theme;
    };
    struct Kept
    {
        ThemeFolderFile file;
        QImage image;
    };
    bool has(const ThemeFolderFile& file) const;
    void pump();
    void finished(const Job& job, const QImage& image);

    QSize m_size;
    qreal m_pixelRatio;
    qint64 m_pictureBytes;
    QCache<QString, Kept> m_kept;
    QList<Job> m_urgent;
    QList<Job> m_ahead;
    QSet<QString> m_running;
    QThreadPool m_pool;
};

} // namespace ovex
