#include "preview/GalleryPictures.h"

#include "colour/ThemePicture.h"

#include <QThread>

#include <algorithm>

namespace ovex {

GalleryPictures::GalleryPictures(const QSize& size, qreal pixelRatio, qint64 budget, QObject* parent)
    : QObject(parent)
    , m_size(size)
    , m_pixelRatio(pixelRatio)
    , m_pictureBytes(qint64(std::ceil(size.width() * pixelRatio)) * qint64(std::ceil(size.height() * pixelRatio)) * 4)
{
    // Kept by KiB, so that the budget fits QCache's int.
    m_kept.setMaxCost(int(std::max<qint64>(1, budget / 1024)));
}

GalleryPictures::~GalleryPictures()
{
    // The pictures being drawn report to this object when done.
    m_pool.clear();
    m_pool.waitForDone();
}

qsizetype GalleryPictures::Capacity() const
{
    return qsizetype(qint64(m_kept.maxCost()) * 1024 / m_pictureBytes);
}

bool GalleryPictures::has(const ThemeFolderFile& file) const
{
    const Kept* kept = m_kept.object(file.path);
    return kept && kept->file == file;
}

QImage GalleryPictures::Picture(const GalleryEntry& entry)
{
    if (const Kept* kept = m_kept.object(entry.file.path); kept && kept->file == entry.file)
        return kept->image;
    m_urgent.append({entry.file, entry.theme});
    pump();
    return {};
}

void GalleryPictures::Prefetch(const QList<GalleryEntry>& entries)
{
    m_ahead.clear();
    const qsizetype count = std::min(entries.size(), Capacity());
    for (qsizetype i = count - 1; i >= 0; --i) {
        if (!has(entries[i].file))
            m_ahead.append({entries[i].file, entries[i].theme});
    }
    pump();
}

void GalleryPictures::pump()
{
    while (m_running.size() < m_pool.maxThreadCount()) {
        // What is in view in the order it was painted; then what is asked
        // for ahead, kept in reverse.
        if (m_urgent.isEmpty() && m_ahead.isEmpty())
            return;
        const Job job = m_urgent.isEmpty() ? m_ahead.takeLast() : m_urgent.takeFirst();
        if (m_running.contains(job.file.path) || has(job.file))
            continue;
        m_running.insert(job.file.path);
        m_pool.start([this, job, size = m_size, ratio = m_pixelRatio] {
            QImage image = DrawThemePicture(job.theme, (QSizeF(size) * ratio).toSize());
            image.setDevicePixelRatio(ratio);
            // Queued: this object outlives every job (its destructor waits).
            QMetaObject::invokeMethod(this, [this, job, image] { finished(job, image); }, Qt::QueuedConnection);
        });
    }
}

void GalleryPictures::finished(const Job& job, const QImage& image)
{
    m_running.remove(job.file.path);
    m_kept.insert(job.file.path, new Kept{job.file, image}, int(m_pictureBytes / 1024));
    Q_EMIT Ready(job.file.path);
    pump();
}

} // namespace ovex
