#include "EntryPrinter.h"

#include "playlist/PlaylistModel.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

QVector<PlaylistEntry> numbered(int n, const QString& prefix = QStringLiteral("s")) {
    QVector<PlaylistEntry> out;
    for (int i = 0; i < n; ++i) {
        out.append(
            {prefix + QString::number(i), QStringLiteral("/m/") + prefix + QString::number(i) + ".mp3"});
    }
    return out;
}

TEST(PlaylistModel, BothColumnsMoveTogether) {
    PlaylistModel model;
    model.append(QStringLiteral("a"), QStringLiteral("/a.mp3"));
    model.append(QStringLiteral("b"), QStringLiteral("/b.mp3"));
    model.append(QStringLiteral("a"), QStringLiteral("/a.mp3"));
    model.append(QStringLiteral("c"), QStringLiteral("/c.mp3"));
    ASSERT_EQ(model.count(), 4);
    model.removeAt(1);
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("a"));
    EXPECT_EQ(model.index(1, 1).data().toString(), QStringLiteral("/a.mp3"));
    EXPECT_EQ(model.index(2, 0).data().toString(), QStringLiteral("c"));
    EXPECT_EQ(model.index(2, 1).data().toString(), QStringLiteral("/c.mp3"));
    model.removeAt(0);
    EXPECT_EQ(model.count(), 2);
    EXPECT_EQ(model.head(), (PlaylistEntry{"a", "/a.mp3"}));
    model.removeAt(5);
    model.removeAt(-1);
    model.dropHead();
    EXPECT_EQ(model.head(), (PlaylistEntry{"c", "/c.mp3"}));
    model.dropHead();
    model.dropHead();
    EXPECT_TRUE(model.isEmpty());
}

TEST(PlaylistModel, CountTextAndRefresh) {
    PlaylistModel model;
    QSignalSpy spy(&model, &PlaylistModel::countTextChanged);
    EXPECT_EQ(model.countText(), QStringLiteral("0 Songs in de playlist"));
    model.append(QStringLiteral("a"), QStringLiteral("/a.mp3"));
    EXPECT_EQ(spy.count(), 0);
    model.refreshCount();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("1 Songs in de playlist"));
    model.append(QStringLiteral("b"), QStringLiteral("/b.mp3"));
    EXPECT_EQ(model.countText(), QStringLiteral("2 Songs in de playlist"));
    model.clear();
    EXPECT_EQ(model.countText(), QStringLiteral("0 Songs in de playlist"));
}

TEST(PlaylistModel, NeverGoesPastTheLimit) {
    PlaylistModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    EXPECT_EQ(model.appendMany(numbered(PlaylistModel::kMaxEntries - 2)), PlaylistModel::kMaxEntries - 2);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(model.appendMany(numbered(5, QStringLiteral("t"))), 2);
    EXPECT_EQ(model.count(), PlaylistModel::kMaxEntries);
    EXPECT_EQ(model.entry(PlaylistModel::kMaxEntries - 1).displayName, QStringLiteral("t1"));
    EXPECT_FALSE(model.append(QStringLiteral("x"), QStringLiteral("/x.mp3")));
    EXPECT_EQ(model.appendMany(numbered(1)), 0);
    EXPECT_EQ(model.count(), PlaylistModel::kMaxEntries);
    EXPECT_EQ(model.countText(), QStringLiteral("32767 Songs in de playlist"));

    EXPECT_EQ(model.replaceAll(numbered(PlaylistModel::kMaxEntries + 10)), PlaylistModel::kMaxEntries);
    EXPECT_EQ(model.count(), PlaylistModel::kMaxEntries);
    EXPECT_EQ(model.replaceAll(numbered(3)), 3);
    EXPECT_EQ(model.entries(), numbered(3));
}

} // namespace
