#include "playlist/PlaylistModel.h"

#include <algorithm>
#include <utility>

PlaylistModel::PlaylistModel(QObject* parent) : QAbstractTableModel(parent) {}

int PlaylistModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int PlaylistModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant PlaylistModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    const PlaylistEntry& e = m_entries.at(index.row());
    return index.column() == 0 ? e.displayName : e.fullPath;
}

bool PlaylistModel::append(const QString& displayName, const QString& fullPath) {
    if (count() >= kMaxEntries) {
        return false;
    }
    beginInsertRows(QModelIndex(), count(), count());
    m_entries.append(PlaylistEntry{displayName, fullPath});
    endInsertRows();
    return true;
}

int PlaylistModel::appendMany(const QVector<PlaylistEntry>& entries) {
    const int room = kMaxEntries - count();
    const int n = std::min(room, static_cast<int>(entries.size()));
    if (n <= 0) {
        return 0;
    }
    beginInsertRows(QModelIndex(), count(), count() + n - 1);
    m_entries.append(entries.mid(0, n));
    endInsertRows();
    return n;
}

int PlaylistModel::replaceAll(QVector<PlaylistEntry> entries) {
    if (entries.size() > kMaxEntries) {
        entries.resize(kMaxEntries);
    }
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
    return count();
}

void PlaylistModel::dropHead() {
    removeAt(0);
}

void PlaylistModel::removeAt(int i) {
    if (i < 0 || i >= count()) {
        return;
    }
    beginRemoveRows(QModelIndex(), i, i);
    m_entries.removeAt(i);
    endRemoveRows();
}

void PlaylistModel::clear() {
    if (m_entries.isEmpty()) {
        return;
    }
    beginResetModel();
    m_entries.clear();
    endResetModel();
}

QString PlaylistModel::fullText(int added, int wanted) {
    return QStringLiteral("De playlist is vol: er passen hoogstens %1 songs in. %2 van de %3 songs zijn niet "
                          "toegevoegd.")
        .arg(kMaxEntries)
        .arg(wanted - added)
        .arg(wanted);
}

QString PlaylistModel::countText() const {
    return QString::number(count()) + QStringLiteral(" Songs in de playlist");
}

void PlaylistModel::refreshCount() {
    Q_EMIT countTextChanged(countText());
}
