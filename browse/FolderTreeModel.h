#pragma once

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class FolderWatcher;

// The folder tree of one volume: a single top-level item for the volume's own folder, and
// below each folder its visible subfolders (common::listSubfolders), read when the folder is
// first opened (canFetchMore/fetchMore) or looked up by path.
//
// Only folders whose rows are on show are watched: expanded folders whose ancestors are all
// expanded (the view reports expanding and collapsing through setExpanded). A watched folder
// is read again after a subfolder came or went, at most once per kMinRereadMs, and its rows
// change only where the list of subfolders differs; files coming and going never read it.
// A folder that was not watched for a while is read again when it is expanded.
// GUI thread only (it needs an event loop for the watcher and its timers).
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    static constexpr qint64 kMinRereadMs = 1000;

    explicit FolderTreeModel(QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // Shows `folder` (absolute, clean) as the one top-level item, collapsed; resets the model.
    void setRootPath(const QString& folder);
    QString rootPath() const;
    // The item of the clean absolute `path` at or below the root, reading the folders on the
    // way; invalid when there is no such visible folder.
    QModelIndex index(const QString& path);
    QString filePath(const QModelIndex& index) const;
    // What the view shows for `index`: its rows expanded or not.
    void setExpanded(const QModelIndex& index, bool expanded);
    // The decoration of every folder, and of the file system's root "/" (QIcon values).
    void setPictures(const QVariant& folder, const QVariant& root);

    // For tests and benchmarks: the folders now watched, and how often a folder was read.
    QStringList watchedFolders() const;
    int foldersRead() const { return m_foldersRead; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Node;

    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(Node* node) const;
    // The node of `path`, or nullptr; with readOnTheWay, unread folders on the way are read,
    // else only the nodes read so far are looked at.
    Node* walk(const QString& path, bool readOnTheWay);
    static Node* childNamed(const Node* node, QStringView name);
    void read(Node* node);
    // Brings the rows of `node` in line with `names` (sorted), keeping the nodes that stay.
    void reconcile(Node* node, const QStringList& names);
    void updateWatches(Node* node, bool parentShown);
    void forget(Node* node);
    void entryChanged(const QString& folder, const QString& name, bool isFolder);
    void scheduleRead(Node* node);

    std::unique_ptr<Node> m_top;
    FolderWatcher* m_watcher = nullptr;
    QElapsedTimer m_clock;
    QVariant m_folderPicture;
    QVariant m_rootPicture;
    int m_foldersRead = 0;
};
