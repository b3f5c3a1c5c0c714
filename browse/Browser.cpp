#include "browse/Browser.h"

#include "widgets/Algemeen.h"

#include "browse/FolderTreeModel.h"
#include "browse/SongNames.h"
#include "browse/Volumes.h"
#include "common/FileList.h"
#include "playlist/PlaylistModel.h"
#include "widgets/MessageKit.h"
#include "widgets/PictureButton.h"

#include <QAbstractFileIconProvider>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
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

} // namespace

Browser::Browser(const MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {
    MainControls& c = m_ctx.c;

    for (QListView* list : {c.File1, c.List1}) {
        list->setUniformItemSizes(true);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setDragEnabled(false);
    }
    c.List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    c.TellerLabel->setText(QString::fromUtf16(browse::kTellerStart));

    m_dirModel = new FolderTreeModel(c.Dir1);
    c.Dir1->setModel(m_dirModel);
    c.Dir1->setHeaderHidden(true);
    c.Dir1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c.Dir1->setSelectionMode(QAbstractItemView::SingleSelection);
    c.Dir1->setUniformRowHeights(true);
    // Only what the tree shows is watched: it reports which folders it shows opened.
    connect(c.Dir1, &QTreeView::expanded, m_dirModel,
            [this](const QModelIndex& index) { m_dirModel->setExpanded(index, true); });
    connect(c.Dir1, &QTreeView::collapsed, m_dirModel,
            [this](const QModelIndex& index) { m_dirModel->setExpanded(index, false); });

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
    m_filtered = {c.Drive1, c.Dir1, c.Dir1->viewport(), c.Dir1->verticalScrollBar()};
    for (QObject* object : m_filtered) {
        object->installEventFilter(this);
    }
    connect(m_dirModel, &QAbstractItemModel::layoutChanged, this, &Browser::followCurrentFolder);
    connect(c.Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { dir1Opened(current); });
    connect(c.Dir1, &QAbstractItemView::activated, this, &Browser::dir1Opened);
    // At start the working folder is the tree's current row but not yet listed, so selecting it
    // again changes nothing: a click on it must still list its songs.
    connect(c.Dir1, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && m_dirModel->filePath(index) != m_ctx.state.songFolder) {
            dir1Opened(index);
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
        if (!volume.isValid() || !browse::isBrowsable(root, volume.fileSystemType()) ||
            !QFileInfo(root).isDir()) {
            continue;
        }
        if (std::any_of(drives.cbegin(), drives.cend(), [&root](const Drive& d) { return d.root == root; })) {
            continue;
        }
        drives.append(Drive{root, browse::volumeCaption(root, volume.name())});
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

Browser::~Browser() {
    for (QObject* object : m_filtered) {
        if (object) {
            object->removeEventFilter(this);
        }
    }
}

// Runs also while Main takes its widgets down, before this controller goes: `watched` is only
// compared with the pointers noted at the start, never asked anything, since it may be half
// destroyed.
bool Browser::eventFilter(QObject* watched, QEvent* event) {
    const int at = static_cast<int>(m_filtered.indexOf(watched));
    const auto type = event->type();
    if (at == kFilteredTree && type == QEvent::Show) {
        QTimer::singleShot(0, this, &Browser::followCurrentFolder);
    } else if (at == kFilteredViewport && type == QEvent::Paint && !m_treePainted) {
        // After the first frame is on the screen.
        m_treePainted = true;
        QTimer::singleShot(0, this, &Browser::lookUpPictures);
    } else if ((at == kFilteredTree && type == QEvent::KeyPress) ||
               ((at == kFilteredViewport || at == kFilteredScrollBar) &&
                (type == QEvent::MouseButtonPress || type == QEvent::Wheel))) {
        // The user takes over: the tree no longer scrolls by itself.
        m_followFolder.clear();
    }
    if (at == kFilteredDrives) {
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
    m_volumeRoot = root;
    // The volume's own folder is the top item, so that its songs can be listed too.
    m_dirModel->setRootPath(root);
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

void Browser::followCurrentFolder() {
    if (m_followFolder.isEmpty()) {
        return;
    }
    const QModelIndex index = m_dirModel->index(m_followFolder);
    if (index.isValid() && m_ctx.c.Dir1->currentIndex() == index) {
        m_ctx.c.Dir1->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
}

void Browser::lookUpPictures() {
    // The icon theme is read only now: it takes milliseconds that the first frame need not wait
    // for.
    const QAbstractFileIconProvider pictures;
    m_dirModel->setPictures(pictures.icon(QAbstractFileIconProvider::Folder),
                            pictures.icon(QAbstractFileIconProvider::Drive));
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
    if (root.isEmpty() || !common::canOpenFolder(root)) {
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
    common::Listing listing = common::listFolder(m_dirPath, common::songFilter());
    m_ctx.state.songFolder = m_dirPath;
    const qsizetype found = listing.names.size();
    if (found > PlaylistModel::kMaxEntries) {
        listing.names.resize(PlaylistModel::kMaxEntries);
    }
    c.File1Model->setStringList(listing.names);
    c.List1Model->setStringList(listing.names);
    c.TellerLabel->setText(browse::tellerText(static_cast<int>(listing.names.size())));
    if (listing.unreadable > 0) {
        widgets::SetInfoLine(c.InfoLabel, browse::unreadableText(listing.unreadable));
    }
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

void Browser::showMessage(const QString& title, const QString& text, bool warning) {
    if (warning) {
        widgets::warn(m_ctx.c.Main, text, title);
    } else {
        widgets::inform(m_ctx.c.Main, text, title);
    }
}
