#pragma once

#include "colour/GalleryEntry.h"

#include <QAbstractListModel>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QHash>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QThreadPool>
#include <QTimer>

namespace ovex {

// The themes of one folder, read on threads of their own and kept up to date
// while files are added, changed or removed. A row for each file Import
// takes; the files it refuses are kept apart, with their reasons.
class GalleryModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit GalleryModel(QObject* parent = nullptr);
    ~GalleryModel() override;

    // Starts over on folder and follows it.
    void SetFolder(const QString& folder);
    QString Folder() const { return m_folder; }
    // Reading, or about to read again.
    bool Busy() const { return m_listing || m_reading || m_rescan.isActive(); }

    const GalleryEntry& Entry(int row) const { return m_entries[row]; }
    const QList<GalleryEntry>& Entries() const { return m_entries; }
    // In the order of their file names.
    const QList<GalleryEntry>& Refused() const { return m_refused; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

Q_SIGNALS:
    void RefusedChanged();
    void BusyChanged();

private:
    void rescan();
    void listed(const QList<ThemeFolderFile>& files);
    void placeResults(int begin, int end);
    void scanned();
    void remove(const QSet<QString>& paths);
    bool removeRefused(const QString& path);
    void watch(const QList<ThemeFolderFile>& files);
    void stopScanning();

    QString m_folder;
    QList<GalleryEntry> m_entries;
    QHash<QString, int> m_rowOf;   // by path
    QList<GalleryEntry> m_refused;
    QSet<QString> m_refusedPaths;
    // Every file of the last listing, as it was listed.
    QHash<QString, ThemeFolderFile> m_known;
    QFutureWatcher<QList<ThemeFolderFile>>* m_listing = nullptr;
    QFutureWatcher<GalleryEntry>* m_reading = nullptr;
    bool m_again = false;
    QFileSystemWatcher m_watcher;
    QTimer m_rescan;
    QThreadPool m_pool;
};

// The rows of a GalleryModel whose name or file name holds a text, in a
// chosen order.
class GalleryProxy final : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit GalleryProxy(GalleryModel* model, QObject* parent = nullptr);

    void SetText(const QString& text);
    void SetOrder(GalleryOrder order);
    const GalleryEntry& Entry(int row) const;
    // The first entries shown, at most limit, in their order.
    QList<GalleryEntry> Shown(qsizetype limit) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    GalleryModel* m_model;
    QString m_text;
    GalleryOrder m_order = GalleryOrder::Name;
};

} // namespace ovex
