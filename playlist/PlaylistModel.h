#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QVector>

// One playlist entry: what List2 shows and what the player is handed.
struct PlaylistEntry {
    QString displayName;
    QString fullPath;

    friend bool operator==(const PlaylistEntry&, const PlaylistEntry&) = default;
};

// The playlist queue. Column 0 is the display name (List2 shows it), column 1 the full path
// (the hidden BackList shows it); one vector holds both so they can never disagree.
// Entry 0 is the head: the song that plays. GUI thread only.
class PlaylistModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Lists hold at most this many entries (16-bit signed counts).
    static constexpr int kMaxEntries = 32767;

    explicit PlaylistModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Appends at the end. Returns false (and appends nothing) when the list is full.
    bool append(const QString& displayName, const QString& fullPath);
    // Appends as many as fit, in order, with one model notification. Returns how many fitted.
    int appendMany(const QVector<PlaylistEntry>& entries);

    // Replaces every entry with the first kMaxEntries of `entries`, with one model reset.
    // Returns how many were taken.
    int replaceAll(QVector<PlaylistEntry> entries);

    int count() const { return static_cast<int>(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    // Precondition: 0 <= i < count().
    const PlaylistEntry& entry(int i) const { return m_entries.at(i); }
    const PlaylistEntry& head() const { return m_entries.front(); }
    const QVector<PlaylistEntry>& entries() const { return m_entries; }

    // Removes entry 0; nothing when empty.
    void dropHead();
    // Removes entry i; nothing when out of range.
    void removeAt(int i);
    void clear();

    // The count label's text for the current count: "<n> Songs in de playlist".
    QString countText() const;
    // The message when only `added` of `wanted` songs fit: every way of adding songs says this.
    static QString fullText(int added, int wanted);
    // Tells the count label to show countText(); the playlist's users call it after each change.
    void refreshCount();

Q_SIGNALS:
    void countTextChanged(const QString& text);

private:
    QVector<PlaylistEntry> m_entries;
};
