#include "browse/Browser.h"

#include "browse/FileList.h"
#include "browse/SongNames.h"
#include "browse/Volumes.h"
#include "playlist/PlaylistModel.h"
#include "widgets/PictureButton.h"

#include "widgets/MessageKit.h"
#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QScrollBar>
#include <QStorageInfo>
#include <QStringListModel>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace {

bool isUnder(const QString& path, const QString& root) {
    if (root == QLatin1String("/")) {
        return path.startsWith(u'/');
    }
    return path == root || path.startsWith(root + u'/');
}

QString parentFolder(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : path.first(slash);
}

// Asked by the model about every entry it loads, files included (from any thread): looks nothing
// up. Qt's own provider asks the icon theme about each one and reads the start of files to name
// their type, although the tree shows only folders and never the type column.
class NoLookupIconProvider final : public QAbstractFileIconProvider {
public:
    using QAbstractFileIconProvider::icon; // by type: asks the icon theme
    QIcon icon(const QFileInfo&) const override { return {}; }
    QString type(const QFileInfo& info) const override {
        return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
    }
};

// A base of the model, so that it is built before the model and outlives it.
struct HasIconProvider {
    NoLookupIconProvider pictures;
};

} // namespace

// The folder tree's model. Every folder shows the icon theme's one folder picture and the file
// system's root its drive picture, as under Qt's own provider. They are looked up once, by
// lookUpPictures(): reading the icon theme takes milliseconds, which the window's first
// appearance need not wait for. Before that the tree shows no pictures. GUI thread only.
class Browser::FolderTreeModel final : private HasIconProvider, public QFileSystemModel {
public:
    explicit FolderTreeModel(QObject* parent) : QFileSystemModel(parent) { setIconProvider(&pictures); }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DecorationRole && index.column() == 0) {
            return filePath(index) == u"/" ? m_drive : m_folder;
        }
        return QFileSystemModel::data(index, role);
    }

    void lookUpPictures() {
        if (m_lookedUp) {
            return;
        }
        m_lookedUp = true;
        m_folder = pictures.icon(QAbstractFileIconProvider::Folder);
        m_drive = pictures.icon(QAbstractFileIconProvider::Drive);
        if (!m_folder.isNull() || !m_drive.isNull()) {
            // Rows may grow to the pictures' height.
            Q_EMIT layoutAboutToBeChanged();
            Q_EMIT layoutChanged();
        }
    }

private:
    bool m_lookedUp = false;
    QIcon m_folder;
    QIcon m_drive;
};

Browser::Browser(const MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {
    MainControls& c = m_ctx.c;

    for (QListView* list : {c.File1, c.List1}) {
        list->setUniformItemSizes(true);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setDragEnabled(false);
    }
    c.List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    c.SelectieKnop->setToolTip(QStringLiteral(" Copyeer song  "));
    c.SelectieAllKnop->setToolTip(QStringLiteral(" Copyeer alle songs "));
    c.TellerLabel->setText(QString::fromUtf16(SongNames::kTellerStart));

    m_dirModel = new FolderTreeModel(c.Dir1);
    m_dirModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_dirModel->setReadOnly(true);
    c.Dir1->setModel(m_dirModel);
    c.Dir1->setHeaderHidden(true);
    for (int column = 1; column < m_dirModel->columnCount(); ++column) {
        c.Dir1->hideColumn(column);
    }
    c.Dir1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c.Dir1->setSelectionMode(QAbstractItemView::SingleSelection);
    c.Dir1->setUniformRowHeights(true);

    fillDrives();
    const QString start = QDir::cleanPath(QDir::currentPath());
    m_volumeRoot = volumeRootOf(start);
    m_dirPath = start;
    m_lastFolderOfVolume.insert(m_volumeRoot, start);
    {
        const QSignalBlocker block(c.Drive1);
        c.Drive1->setCurrentIndex(c.Drive1->findData(m_volumeRoot));
    }
    showVolumeInTree(m_volumeRoot);
    showFolderInTree(start);

    connect(c.Drive1, &QComboBox::currentIndexChanged, this, &Browser::Drive1_Change);
    c.Drive1->installEventFilter(this);
    c.Dir1->installEventFilter(this);
    c.Dir1->viewport()->installEventFilter(this);
    c.Dir1->verticalScrollBar()->installEventFilter(this);
    connect(m_dirModel, &QAbstractItemModel::layoutChanged, this, &Browser::followCurrentFolder);
    connect(c.Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { dir1Opened(current); });
    connect(c.Dir1, &QAbstractItemView::activated, this, &Browser::dir1Opened);
    // At start the working folder is the tree's current row but not yet listed, so selecting it
    // again changes nothing: a click on it must still list its songs.
    connect(c.Dir1, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && m_dirModel->filePath(index) != m_file1Path) {
            dir1Opened(index);
        }
    });
    connect(m_dirModel, &QFileSystemModel::directoryLoaded, this, &Browser::directoryLoaded);
    connect(m_dirModel, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parentIndex, int first, int last) {
                if (parentIndex == m_ctx.c.Dir1->rootIndex()) {
                    hideOtherVolumeFolders(first, last);
                }
            });
    connect(c.List1, &QAbstractItemView::doubleClicked, this, &Browser::List1_DblClick);
    connect(c.SelectieKnop, &QAbstractButton::clicked, this, &Browser::SelectieKnop_Click);
    connect(c.SelectieAllKnop, &QAbstractButton::clicked, this, &Browser::SelectieAllKnop_Click);
}

void Browser::fillDrives() {
    struct Drive {
        QString root;
        QString caption;
    };
    QList<Drive> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !Volumes::isBrowsable(root, volume.fileSystemType()) ||
            !QFileInfo(root).isDir()) {
            continue;
        }
        if (std::any_of(drives.cbegin(), drives.cend(), [&root](const Drive& d) { return d.root == root; })) {
            continue;
        }
        drives.append(Drive{root, Volumes::caption(root, volume.name())});
    }
    if (std::none_of(drives.cbegin(), drives.cend(), [](const Drive& d) { return d.root == u"/"; })) {
        drives.append(Drive{QStringLiteral("/"), QStringLiteral("/")});
    }
    QComboBox* box = m_ctx.c.Drive1;
    const int chosen = box->currentIndex();
    if (chosen >= 0) {
        const QString root = box->itemData(chosen).toString();
        if (std::none_of(drives.cbegin(), drives.cend(),
                         [&root](const Drive& d) { return d.root == root; })) {
            drives.append(Drive{root, box->itemText(chosen)});
        }
    }
    std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) { return a.root < b.root; });
    const QString chosenRoot = chosen >= 0 ? box->itemData(chosen).toString() : QString();
    const QSignalBlocker block(box);
    box->clear();
    for (const Drive& d : drives) {
        box->addItem(d.caption, d.root);
    }
    if (!chosenRoot.isEmpty()) {
        box->setCurrentIndex(box->findData(chosenRoot));
    }
}

bool Browser::eventFilter(QObject* watched, QEvent* event) {
    QTreeView* tree = m_ctx.c.Dir1;
    if (watched == tree && event->type() == QEvent::Show) {
        QTimer::singleShot(0, this, &Browser::followCurrentFolder);
    } else if (watched == tree->viewport() && event->type() == QEvent::Paint && !m_treePainted) {
        // After the first frame is on the screen.
        m_treePainted = true;
        QTimer::singleShot(0, this, [this] { m_dirModel->lookUpPictures(); });
    } else if ((watched == tree && event->type() == QEvent::KeyPress) ||
               ((watched == tree->viewport() || watched == tree->verticalScrollBar()) &&
                (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Wheel))) {
        // The user takes over: the tree no longer scrolls by itself.
        m_followFolder.clear();
    }
    if (watched == m_ctx.c.Drive1) {
        bool opens = event->type() == QEvent::MouseButtonPress;
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            opens = key->key() == Qt::Key_F4 || key->key() == Qt::Key_Space ||
                    ((key->modifiers() & Qt::AltModifier) &&
                     (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up));
        }
        if (opens) {
            fillDrives();
        }
    }
    return QObject::eventFilter(watched, event);
}

QString Browser::volumeRootOf(const QString& path) const {
    QString best = QStringLiteral("/");
    const QComboBox* drives = m_ctx.c.Drive1;
    for (int i = 0; i < drives->count(); ++i) {
        const QString root = drives->itemData(i).toString();
        if (root.size() > best.size() && isUnder(path, root)) {
            best = root;
        }
    }
    return best;
}

void Browser::showVolumeInTree(const QString& root) {
    QTreeView* tree = m_ctx.c.Dir1;
    for (const QPersistentModelIndex& row : std::as_const(m_hiddenTreeRows)) {
        if (row.isValid()) {
            tree->setRowHidden(row.row(), row.parent(), false);
        }
    }
    m_hiddenTreeRows.clear();
    m_volumeRoot = root;
    m_dirModel->setRootPath(root);
    // The volume's own folder is the top item, so that its songs can be listed too: the tree
    // starts at the folder above it, with the volume's neighbours there hidden.
    if (root == QLatin1String("/")) {
        tree->setRootIndex(QModelIndex());
    } else {
        tree->setRootIndex(m_dirModel->index(parentFolder(root)));
    }
    const int rows = m_dirModel->rowCount(tree->rootIndex());
    if (rows > 0) {
        hideOtherVolumeFolders(0, rows - 1);
    }
}

void Browser::hideOtherVolumeFolders(int first, int last) {
    QTreeView* tree = m_ctx.c.Dir1;
    const QModelIndex parentIndex = tree->rootIndex();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = m_dirModel->index(row, 0, parentIndex);
        if (m_dirModel->filePath(index) != m_volumeRoot) {
            tree->setRowHidden(row, parentIndex, true);
            m_hiddenTreeRows.append(QPersistentModelIndex(index));
        }
    }
}

void Browser::showFolderInTree(const QString& folder) {
    QTreeView* tree = m_ctx.c.Dir1;
    const QModelIndex index = m_dirModel->index(folder);
    m_settingTree = true;
    if (index.isValid()) {
        // Not expanded: listing a folder of thousands of songs in the tree's model costs more
        // than the song list itself; the user expands it when he wants its subfolders.
        tree->setCurrentIndex(index);
        tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
        m_followFolder = folder;
    } else {
        tree->selectionModel()->clearCurrentIndex();
        tree->clearSelection();
        m_followFolder.clear();
    }
    m_settingTree = false;
}

void Browser::directoryLoaded(const QString& folder) {
    if (!m_followFolder.isEmpty() && isUnder(m_followFolder, folder)) {
        // The model sorts what it loaded a moment later; scroll after that.
        QTimer::singleShot(0, this, &Browser::followCurrentFolder);
    }
}

void Browser::followCurrentFolder() {
    if (m_followFolder.isEmpty()) {
        return;
    }
    const QModelIndex index = m_dirModel->index(m_followFolder);
    if (index.isValid() && m_ctx.c.Dir1->currentIndex() == index) {
        m_ctx.c.Dir1->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
}

void Browser::dir1Opened(const QModelIndex& index) {
    if (m_settingTree || !index.isValid()) {
        return;
    }
    const QString folder = m_dirModel->filePath(index);
    if (folder.isEmpty()) {
        return;
    }
    m_followFolder.clear();
    m_dirPath = folder;
    m_lastFolderOfVolume.insert(m_volumeRoot, folder);
    Dir1_Change();
}

void Browser::setDir1Path(const QString& folder) {
    const QString path = QDir::cleanPath(folder);
    const QString root = volumeRootOf(path);
    if (root != m_volumeRoot) {
        const QSignalBlocker block(m_ctx.c.Drive1);
        m_ctx.c.Drive1->setCurrentIndex(m_ctx.c.Drive1->findData(root));
        showVolumeInTree(root);
    }
    m_dirPath = path;
    m_lastFolderOfVolume.insert(root, path);
    showFolderInTree(path);
    Dir1_Change();
}

void Browser::Drive1_Change(int index) {
    if (index < 0) {
        return;
    }
    const QString root = m_ctx.c.Drive1->itemData(index).toString();
    if (root.isEmpty() || !FileList::canOpen(root)) {
        showMessage(QStringLiteral(" Drive-Error"), QStringLiteral("Drive not available..."), false);
        return;
    }
    // Like a drive's own current folder: the folder last opened on this volume, else its root.
    QString folder = m_lastFolderOfVolume.value(root);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = root;
    }
    if (root != m_volumeRoot) {
        showVolumeInTree(root);
    }
    setDir1Path(folder);
}

void Browser::Dir1_Change() {
    MainControls& c = m_ctx.c;
    FileList::Listing listing = FileList::list(m_dirPath, FileList::songFilter());
    m_file1Path = m_dirPath;
    c.File1->setProperty("path", m_file1Path);
    const qsizetype found = listing.names.size();
    if (found > PlaylistModel::kMaxEntries) {
        listing.names.resize(PlaylistModel::kMaxEntries);
    }
    c.File1Model->setStringList(listing.names);
    c.List1Model->setStringList(listing.names);
    c.TellerLabel->setText(SongNames::tellerText(static_cast<int>(listing.names.size())));
    if (!listing.ok) {
        showMessage(QStringLiteral("Tunara"),
                    QStringLiteral("De map '%1' kan niet worden gelezen: %2.").arg(m_dirPath, listing.error),
                    true);
    } else if (found > PlaylistModel::kMaxEntries) {
        showMessage(QStringLiteral("Tunara"),
                    QStringLiteral("Deze map bevat %1 songs; alleen de eerste %2 worden getoond.")
                        .arg(found)
                        .arg(PlaylistModel::kMaxEntries),
                    true);
    }
}

QVector<PlaylistEntry> Browser::entriesFor(const QList<int>& rows) const {
    const QStringList names = m_ctx.c.List1Model->stringList();
    QVector<PlaylistEntry> entries;
    entries.reserve(rows.size());
    for (const int row : rows) {
        const QString& name = names.at(row);
        entries.append(PlaylistEntry{SongNames::displayName(name), SongNames::fullPath(m_file1Path, name)});
    }
    return entries;
}

int Browser::appendRows(const QList<int>& rows) {
    return m_ctx.playlist.appendMany(entriesFor(rows));
}

Browser::Added Browser::addSelected() {
    QItemSelectionModel* selection = m_ctx.c.List1->selectionModel();
    QList<int> rows;
    for (const QModelIndex& index : selection->selectedRows()) {
        rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    const int added = appendRows(rows);
    if (added == rows.size()) {
        selection->clearSelection();
    } else {
        // What did not fit stays selected.
        QItemSelection done;
        for (int i = 0; i < added; ++i) {
            const QModelIndex index = m_ctx.c.List1Model->index(rows.at(i));
            done.select(index, index);
        }
        selection->select(done, QItemSelectionModel::Deselect);
    }
    m_ctx.playlist.refreshCount();
    return Added{added, static_cast<int>(rows.size())};
}

void Browser::List1_DblClick() {
    if (m_ctx.c.List1Model->rowCount() == 0) {
        return;
    }
    const Added result = addSelected();
    if (result.added < result.wanted) {
        tellPlaylistFull(result.added, result.wanted);
    }
}

void Browser::SelectieKnop_Click() {
    if (m_ctx.c.List1Model->rowCount() == 0) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Added result = addSelected();
    QApplication::restoreOverrideCursor();
    if (result.added < result.wanted) {
        tellPlaylistFull(result.added, result.wanted);
    }
}

void Browser::SelectieAllKnop_Click() {
    const int rowCount = m_ctx.c.List1Model->rowCount();
    if (rowCount == 0) {
        return;
    }
    QList<int> rows(rowCount);
    for (int i = 0; i < rowCount; ++i) {
        rows[i] = i;
    }
    const int added = appendRows(rows);
    m_ctx.playlist.refreshCount();
    if (added < rowCount) {
        tellPlaylistFull(added, rowCount);
    }
}

void Browser::tellPlaylistFull(int added, int wanted) {
    MessageKit::warn(m_ctx.c.Main, PlaylistModel::fullText(added, wanted));
}

void Browser::showMessage(const QString& title, const QString& text, bool warning) {
    if (warning) {
        MessageKit::warn(m_ctx.c.Main, text, title);
    } else {
        MessageKit::inform(m_ctx.c.Main, text, title);
    }
}
