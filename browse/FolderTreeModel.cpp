#include "browse/FolderTreeModel.h"

#include "browse/FolderWatcher.h"
#include "common/FileList.h"

#include <QSet>
#include <QTimer>

#include <algorithm>
#include <vector>

struct FolderTreeModel::Node {
    QString name;
    QString path;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
    int row = 0;
    bool fetched = false;
    bool expanded = false;
    bool watched = false;
    bool readPending = false;
    // Changes may have been missed since the last read (it was not watched meanwhile).
    bool maybeStale = false;
    qint64 lastReadMs = -kMinRereadMs;

    void renumber() {
        for (size_t i = 0; i < children.size(); ++i) {
            children[i]->row = static_cast<int>(i);
        }
    }
};

namespace {

QString childPath(const QString& folder, const QString& name) {
    return folder == u"/" ? u'/' + name : folder + u'/' + name;
}

} // namespace

FolderTreeModel::FolderTreeModel(QObject* parent) : QAbstractItemModel(parent) {
    m_clock.start();
    m_watcher = new FolderWatcher(this);
    connect(m_watcher, &FolderWatcher::entryChanged, this, &FolderTreeModel::entryChanged);
}

FolderTreeModel::~FolderTreeModel() = default;

void FolderTreeModel::setRootPath(const QString& folder) {
    beginResetModel();
    if (m_top) {
        forget(m_top.get());
    }
    m_top = std::make_unique<Node>();
    m_top->path = folder;
    m_top->name = folder == u"/" ? folder : folder.mid(folder.lastIndexOf(u'/') + 1);
    endResetModel();
}

QString FolderTreeModel::rootPath() const {
    return m_top ? m_top->path : QString();
}

FolderTreeModel::Node* FolderTreeModel::nodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

QModelIndex FolderTreeModel::indexOf(Node* node) const {
    return node ? createIndex(node->row, 0, node) : QModelIndex();
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) {
        return {};
    }
    if (!parent.isValid()) {
        return row == 0 && m_top ? indexOf(m_top.get()) : QModelIndex();
    }
    const Node* node = nodeOf(parent);
    return row < static_cast<int>(node->children.size()) ? indexOf(node->children[row].get()) : QModelIndex();
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    const Node* node = nodeOf(child);
    return node ? indexOf(node->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return m_top ? 1 : 0;
    }
    return parent.column() == 0 ? static_cast<int>(nodeOf(parent)->children.size()) : 0;
}

int FolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return m_top != nullptr;
    }
    // Unread folders get an expander; reading every folder on show just for it costs too much.
    const Node* node = nodeOf(parent);
    return !node->fetched || !node->children.empty();
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    const Node* node = nodeOf(index);
    if (!node) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return node->name;
    }
    if (role == Qt::DecorationRole) {
        return node->path == u"/" ? m_rootPicture : m_folderPicture;
    }
    return {};
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    const Node* node = nodeOf(parent);
    return node && !node->fetched;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    if (Node* node = nodeOf(parent); node && !node->fetched) {
        read(node);
    }
}

QString FolderTreeModel::filePath(const QModelIndex& index) const {
    const Node* node = nodeOf(index);
    return node ? node->path : QString();
}

FolderTreeModel::Node* FolderTreeModel::walk(const QString& path, bool readOnTheWay) {
    Node* node = m_top.get();
    if (!node || path == node->path) {
        return node;
    }
    const QString& top = node->path;
    const bool fromRoot = top == u"/";
    if (!path.startsWith(top) || (!fromRoot && path.size() > top.size() && path[top.size()] != u'/')) {
        return nullptr;
    }
    const QStringView below = QStringView(path).mid(fromRoot ? 1 : top.size() + 1);
    for (const QStringView part : below.split(u'/', Qt::SkipEmptyParts)) {
        bool fresh = false;
        if (readOnTheWay && !node->fetched) {
            read(node);
            fresh = true;
        }
        Node* child = childNamed(node, part);
        if (!child && readOnTheWay && !fresh) {
            // Made a moment ago, before its folder's watch told: look again.
            read(node);
            child = childNamed(node, part);
        }
        if (!child) {
            return nullptr;
        }
        node = child;
    }
    return node;
}

FolderTreeModel::Node* FolderTreeModel::childNamed(const Node* node, QStringView name) {
    const auto found =
        std::find_if(node->children.cbegin(), node->children.cend(),
                     [&name](const std::unique_ptr<Node>& child) { return child->name == name; });
    return found == node->children.cend() ? nullptr : found->get();
}

QModelIndex FolderTreeModel::index(const QString& path) {
    return indexOf(walk(path, true));
}

void FolderTreeModel::read(Node* node) {
    ++m_foldersRead;
    node->lastReadMs = m_clock.elapsed();
    node->fetched = true;
    node->maybeStale = false;
    reconcile(node, common::listSubfolders(node->path).names);
}

void FolderTreeModel::reconcile(Node* node, const QStringList& names) {
    const QModelIndex parentIndex = indexOf(node);
    auto& children = node->children;
    const QSet<QString> wanted(names.cbegin(), names.cend());
    for (int i = static_cast<int>(children.size()) - 1; i >= 0;) {
        if (wanted.contains(children[i]->name)) {
            --i;
            continue;
        }
        const int last = i;
        while (i >= 0 && !wanted.contains(children[i]->name)) {
            --i;
        }
        beginRemoveRows(parentIndex, i + 1, last);
        for (int row = i + 1; row <= last; ++row) {
            forget(children[row].get());
        }
        children.erase(children.begin() + (i + 1), children.begin() + (last + 1));
        node->renumber();
        endRemoveRows();
    }
    // What stays keeps its order, the order of `names`: the new names fill the gaps.
    size_t at = 0;
    for (qsizetype k = 0; k < names.size();) {
        if (at < children.size() && children[at]->name == names[k]) {
            ++at;
            ++k;
            continue;
        }
        const qsizetype first = k;
        while (k < names.size() && !(at < children.size() && children[at]->name == names[k])) {
            ++k;
        }
        const int count = static_cast<int>(k - first);
        beginInsertRows(parentIndex, static_cast<int>(at), static_cast<int>(at) + count - 1);
        std::vector<std::unique_ptr<Node>> added;
        for (qsizetype n = first; n < k; ++n) {
            auto child = std::make_unique<Node>();
            child->name = names[n];
            child->path = childPath(node->path, names[n]);
            child->parent = node;
            added.push_back(std::move(child));
        }
        children.insert(children.begin() + static_cast<std::ptrdiff_t>(at),
                        std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
        node->renumber();
        endInsertRows();
        at += static_cast<size_t>(count);
    }
}

void FolderTreeModel::setExpanded(const QModelIndex& index, bool expanded) {
    Node* node = nodeOf(index);
    if (!node || node->expanded == expanded) {
        return;
    }
    node->expanded = expanded;
    bool parentShown = true;
    for (const Node* up = node->parent; up; up = up->parent) {
        parentShown = parentShown && up->expanded;
    }
    updateWatches(node, parentShown);
}

void FolderTreeModel::updateWatches(Node* node, bool parentShown) {
    const bool shown = parentShown && node->expanded;
    if (shown && !node->watched) {
        node->watched = m_watcher->watch(node->path);
        if (node->fetched && (node->maybeStale || !node->watched)) {
            scheduleRead(node);
        }
    } else if (!shown && node->watched) {
        m_watcher->unwatch(node->path);
        node->watched = false;
        node->maybeStale = true;
    }
    for (const auto& child : node->children) {
        if (child->expanded || child->watched) {
            updateWatches(child.get(), shown);
        }
    }
}

void FolderTreeModel::forget(Node* node) {
    if (node->watched) {
        m_watcher->unwatch(node->path);
        node->watched = false;
    }
    for (const auto& child : node->children) {
        forget(child.get());
    }
}

void FolderTreeModel::entryChanged(const QString& folder, const QString& name, bool isFolder) {
    Node* node = walk(folder, false);
    if (!node || !node->fetched) {
        return;
    }
    if (!isFolder && !name.isEmpty() && !childNamed(node, name)) {
        return; // a file went
    }
    scheduleRead(node);
}

void FolderTreeModel::scheduleRead(Node* node) {
    if (node->readPending) {
        return;
    }
    node->readPending = true;
    const qint64 wait = std::max<qint64>(0, node->lastReadMs + kMinRereadMs - m_clock.elapsed());
    QTimer::singleShot(wait, this, [this, path = node->path] {
        Node* target = walk(path, false);
        if (target && target->readPending) {
            target->readPending = false;
            read(target);
        }
    });
}

QStringList FolderTreeModel::watchedFolders() const {
    QStringList folders = m_watcher->watchedFolders();
    folders.sort();
    return folders;
}

void FolderTreeModel::setPictures(const QVariant& folder, const QVariant& root) {
    m_folderPicture = folder;
    m_rootPicture = root;
    if (!folder.isNull() || !root.isNull()) {
        // Rows may grow to the pictures' height.
        Q_EMIT layoutAboutToBeChanged();
        Q_EMIT layoutChanged();
    }
}
