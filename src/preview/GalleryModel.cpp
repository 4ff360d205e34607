#include "preview/GalleryModel.h"

#include <QtConcurrent>

#include <algorithm>

namespace ovex {

namespace {

// Enough for any real theme folder, and far below the system's limit on
// watches; files past it are still seen when the folder itself changes.
constexpr qsizetype MaxWatchedFiles = 1000;
// Changes come in bursts (a save, a copy of many files): one reading after them.
constexpr int RescanDelayMs = 100;

bool byFileName(const GalleryEntry& a, const GalleryEntry& b)
{
    return a.file.fileName < b.file.fileName;
}

// The name of a theme, then its grade in words: how a screen reader says an entry.
QString entryDescription(const GalleryEntry& entry)
{
    return QStringLiteral("%1: %2").arg(entry.Title(), GradeDescription(entry.grade));
}

} // namespace

GalleryModel::GalleryModel(QObject* parent) : QAbstractListModel(parent)
{
    m_rescan.setSingleShot(true);
    m_rescan.setInterval(RescanDelayMs);
    connect(&m_rescan, &QTimer::timeout, this, &GalleryModel::rescan);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_rescan, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_rescan, qOverload<>(&QTimer::start));
}

GalleryModel::~GalleryModel()
{
    stopScanning();
    m_pool.waitForDone();
}

void GalleryModel::stopScanning()
{
    // A reading of another folder only wastes time: its results go nowhere.
    if (m_reading)
        m_reading->future().cancel();
    delete m_listing;
    delete m_reading;
    m_listing = nullptr;
    m_reading = nullptr;
    m_again = false;
    m_rescan.stop();
}

void GalleryModel::SetFolder(const QString& folder)
{
    stopScanning();
    beginResetModel();
    m_folder = folder;
    m_entries.clear();
    m_rowOf.clear();
    m_known.clear();
    endResetModel();
    m_refused.clear();
    m_refusedPaths.clear();
    Q_EMIT RefusedChanged();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        m_watcher.addPath(folder);
    rescan();
}

void GalleryModel::rescan()
{
    if (m_listing || m_reading) {
        m_again = true;
        return;
    }
    m_listing = new QFutureWatcher<QList<ThemeFolderFile>>(this);
    connect(m_listing, &QFutureWatcherBase::finished, this, [this] { listed(m_listing->result()); });
    m_listing->setFuture(QtConcurrent::run(&m_pool, ListThemeFolder, m_folder));
    Q_EMIT BusyChanged();
}

void GalleryModel::listed(const QList<ThemeFolderFile>& files)
{
    m_listing->deleteLater();
    m_listing = nullptr;
    QHash<QString, ThemeFolderFile> now;
    for (const ThemeFolderFile& file : files)
        now.insert(file.path, file);
    QSet<QString> gone;
    for (auto it = m_known.cbegin(); it != m_known.cend(); ++it) {
        if (!now.contains(it.key()))
            gone.insert(it.key());
    }
    remove(gone);
    QList<ThemeFolderFile> changed;
    for (const ThemeFolderFile& file : files) {
        if (const auto known = m_known.constFind(file.path); known == m_known.cend() || *known != file)
            changed.append(file);
    }
    m_known = std::move(now);
    watch(files);
    if (changed.isEmpty())
        return scanned();

    m_reading = new QFutureWatcher<GalleryEntry>(this);
    connect(m_reading, &QFutureWatcherBase::resultsReadyAt, this, &GalleryModel::placeResults);
    connect(m_reading, &QFutureWatcherBase::finished, this, &GalleryModel::scanned);
    m_reading->setFuture(QtConcurrent::mapped(&m_pool, changed, [fs = IO_CreateFileSystem()](const ThemeFolderFile& file) {
        return ReadGalleryEntry(*fs, file);
    }));
}

void GalleryModel::placeResults(int begin, int end)
{
    QList<GalleryEntry> added;
    bool refusedChanged = false;
    for (int i = begin; i < end; ++i) {
        const GalleryEntry entry = m_reading->resultAt(i);
        const QString& path = entry.file.path;
        // Changed or gone again since it was listed: the next listing tells.
        if (m_known.value(path) != entry.file)
            continue;
        refusedChanged |= removeRefused(path);
        const auto row = m_rowOf.constFind(path);
        if (entry.Read() && row != m_rowOf.cend()) {
            m_entries[*row] = entry;
            Q_EMIT dataChanged(index(*row), index(*row));
        } else if (entry.Read()) {
            added.append(entry);
        } else {
            if (row != m_rowOf.cend())
                remove({path});
            m_refused.insert(std::upper_bound(m_refused.begin(), m_refused.end(), entry, byFileName), entry);
            m_refusedPaths.insert(path);
            refusedChanged = true;
        }
    }
    if (!added.isEmpty()) {
        const int first = int(m_entries.size());
        beginInsertRows({}, first, first + int(added.size()) - 1);
        for (qsizetype k = 0; k < added.size(); ++k)
            m_rowOf.insert(added[k].file.path, first + int(k));
        m_entries.append(added);
        endInsertRows();
    }
    if (refusedChanged)
        Q_EMIT RefusedChanged();
}

void GalleryModel::scanned()
{
    if (m_reading) {
        m_reading->deleteLater();
        m_reading = nullptr;
    }
    if (std::exchange(m_again, false))
        return rescan();
    Q_EMIT BusyChanged();
}

void GalleryModel::remove(const QSet<QString>& paths)
{
    if (paths.isEmpty())
        return;
    QList<int> rows;
    for (const QString& path : paths) {
        if (const auto row = m_rowOf.constFind(path); row != m_rowOf.cend())
            rows.append(*row);
    }
    // From the end, a run of neighbouring rows at a time: a folder emptied
    // at once is one removal.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (qsizetype k = 0; k < rows.size();) {
        qsizetype run = 1;
        while (k + run < rows.size() && rows[k + run] == rows[k] - run)
            ++run;
        const int first = rows[k + run - 1];
        beginRemoveRows({}, first, rows[k]);
        m_entries.remove(first, run);
        endRemoveRows();
        k += run;
    }
    if (!rows.isEmpty()) {
        m_rowOf.clear();
        for (int row = 0; row < m_entries.size(); ++row)
            m_rowOf.insert(m_entries[row].file.path, row);
    }
    if (m_refusedPaths.intersects(paths)) {
        m_refusedPaths.subtract(paths);
        m_refused.removeIf([&](const GalleryEntry& e) { return paths.contains(e.file.path); });
        Q_EMIT RefusedChanged();
    }
}

bool GalleryModel::removeRefused(const QString& path)
{
    if (!m_refusedPaths.remove(path))
        return false;
    m_refused.removeIf([&](const GalleryEntry& e) { return e.file.path == path; });
    return true;
}

void GalleryModel::watch(const QList<ThemeFolderFile>& files)
{
    QSet<QString> wanted;
    for (qsizetype i = 0; i < std::min(files.size(), MaxWatchedFiles); ++i)
        wanted.insert(files[i].path);
    const QStringList watched = m_watcher.files();
    QStringList gone;
    for (const QString& path : watched) {
        // A path already watched is left as it is.
        if (!wanted.remove(path))
            gone << path;
    }
    if (!gone.isEmpty())
        m_watcher.removePaths(gone);
    if (!wanted.isEmpty())
        m_watcher.addPaths(wanted.values());
}

int GalleryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant GalleryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const GalleryEntry& entry = m_entries[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return entry.Title();
    case Qt::AccessibleTextRole:
        return entryDescription(entry);
    case Qt::ToolTipRole:
        return QStringLiteral("%1\n%2").arg(entryDescription(entry), entry.file.fileName);
    default:
        return {};
    }
}

GalleryProxy::GalleryProxy(GalleryModel* model, QObject* parent) : QSortFilterProxyModel(parent), m_model(model)
{
    setSourceModel(model);
    sort(0);
}

void GalleryProxy::SetText(const QString& text)
{
    m_text = text;
    invalidateFilter();
}

void GalleryProxy::SetOrder(GalleryOrder order)
{
    m_order = order;
    invalidate();
}

const GalleryEntry& GalleryProxy::Entry(int row) const
{
    return m_model->Entry(mapToSource(index(row, 0)).row());
}

QList<GalleryEntry> GalleryProxy::Shown(qsizetype limit) const
{
    QList<GalleryEntry> shown;
    for (int row = 0; row < std::min<qsizetype>(rowCount(), limit); ++row)
        shown.append(Entry(row));
    return shown;
}

bool GalleryProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    return MatchesFilter(m_model->Entry(sourceRow), m_text);
}

bool GalleryProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    return GalleryLess(m_model->Entry(left.row()), m_model->Entry(right.row()), m_order);
}

} // namespace ovex
