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

} // namespace

GalleryModel::GalleryModel(QObject* parent) : QAbstractListModel(parent)
{
    m_pool.setMaxThreadCount(QThread::idealThreadCount());
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
    m_known.clear();
    endResetModel();
    m_refused.clear();
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
    for (auto it = m_known.cbegin(); it != m_known.cend(); ++it) {
        if (!now.contains(it.key()))
            remove(it.key());
    }
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
        // Changed or gone again since it was listed: the next listing tells.
        if (m_known.value(entry.file.path) != entry.file)
            continue;
        const auto refused = std::find_if(m_refused.begin(), m_refused.end(),
                                          [&](const GalleryEntry& e) { return e.file.path == entry.file.path; });
        if (refused != m_refused.end()) {
            m_refused.erase(refused);
            refusedChanged = true;
        }
        const auto row = std::find_if(m_entries.begin(), m_entries.end(),
                                      [&](const GalleryEntry& e) { return e.file.path == entry.file.path; });
        if (entry.Read() && row != m_entries.end()) {
            *row = entry;
            const QModelIndex changed = index(int(row - m_entries.begin()));
            Q_EMIT dataChanged(changed, changed);
            continue;
        }
        if (row != m_entries.end())
            remove(entry.file.path);
        if (entry.Read()) {
            added.append(entry);
        } else {
            m_refused.insert(std::upper_bound(m_refused.begin(), m_refused.end(), entry, byFileName), entry);
            refusedChanged = true;
        }
    }
    if (!added.isEmpty()) {
        beginInsertRows({}, int(m_entries.size()), int(m_entries.size() + added.size() - 1));
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

void GalleryModel::remove(const QString& path)
{
    const auto row = std::find_if(m_entries.cbegin(), m_entries.cend(), [&](const GalleryEntry& e) { return e.file.path == path; });
    if (row != m_entries.cend()) {
        const int r = int(row - m_entries.cbegin());
        beginRemoveRows({}, r, r);
        m_entries.removeAt(r);
        endRemoveRows();
    }
    if (m_refused.removeIf([&](const GalleryEntry& e) { return e.file.path == path; }))
        Q_EMIT RefusedChanged();
}

void GalleryModel::watch(const QList<ThemeFolderFile>& files)
{
    QStringList wanted;
    for (qsizetype i = 0; i < std::min(files.size(), MaxWatchedFiles); ++i)
        wanted << files[i].path;
    QStringList gone = m_watcher.files();
    gone.removeIf([&](const QString& path) { return wanted.contains(path); });
    if (!gone.isEmpty())
        m_watcher.removePaths(gone);
    // A path already watched is left as it is.
    wanted.removeIf([watched = m_watcher.files()](const QString& path) { return watched.contains(path); });
    if (!wanted.isEmpty())
        m_watcher.addPaths(wanted);
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
        return entry.theme.name;
    case Qt::AccessibleTextRole:
        return EntryDescription(entry);
    case Qt::ToolTipRole:
        return QStringLiteral("%1\n%2").arg(EntryDescription(entry), entry.file.fileName);
    default:
        return {};
    }
}

QString EntryDescription(const GalleryEntry& entry)
{
    return QStringLiteral("%1: %2").arg(entry.theme.name, GradeDescription(entry.grade));
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
