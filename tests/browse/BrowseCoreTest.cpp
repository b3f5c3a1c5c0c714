#include "browse/FolderTreeModel.h"
#include "browse/SongNames.h"
#include "browse/Volumes.h"
#include "common/FileList.h"
#include "common/NameOrder.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <tuple>

namespace {

TEST(FileList, KeepsOrdinaryMp3AndMidiFilesOfAnyCaseInNameOrder) {
    QTemporaryDir dir;
    for (const char* name : {"third.wav", "second.mid", "first.MP3", ".hidden.mp3", ".mp3", "mp3",
                             "x.mp3.bak", "z.midi", "Zoë.mid", "Édith.mp3", "eagle.mp3"}) {
        ASSERT_TRUE(std::ofstream(QFile::encodeName(dir.filePath(name)).constData()).good());
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mp3"));
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("pipe.mid")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.filePath("eagle.mp3"), dir.filePath("link.mp3")));
    ASSERT_TRUE(QFile::link(dir.filePath("gone.mp3"), dir.filePath("dangling.mp3")));
    ASSERT_TRUE(QFile::link(dir.filePath("folder.mp3"), dir.filePath("dirlink.mid")));
    const QByteArray notUtf8 = QFile::encodeName(dir.path()) + "/caf\xe9.mp3"; // Latin-1 é
    ASSERT_TRUE(std::ofstream(notUtf8.constData()).good());
    const common::Listing listing = common::listFolder(dir.path(), common::songFilter());
    ::unlink(notUtf8.constData()); // QTemporaryDir cannot name it
    EXPECT_TRUE(listing.ok);
    EXPECT_EQ(listing.names,
              QStringList({"eagle.mp3", "Édith.mp3", "first.MP3", "link.mp3", "second.mid", "Zoë.mid"}));
    EXPECT_EQ(listing.unreadable, 1);
    EXPECT_EQ(browse::unreadableText(2), "2 bestanden met een onleesbare naam overgeslagen.");

    for (const QString& notAFolder : {dir.filePath("missing"), dir.filePath("eagle.mp3")}) {
        const common::Listing none = common::listFolder(notAFolder, common::songFilter());
        EXPECT_FALSE(none.ok || none.error.isEmpty());
    }
    EXPECT_TRUE(common::canOpenFolder(dir.path()) && !common::canOpenFolder(dir.filePath("missing")));
}

TEST(FolderTreeModel, FollowsSubfoldersOfOpenedFoldersOnlyAndNeverRereadsForFiles) {
    QTemporaryDir dir;
    const QString root = dir.path();
    ASSERT_TRUE(QDir(root).mkpath("b") && QDir(root).mkpath("a/deep") && QDir(root).mkpath(".verborgen"));
    ASSERT_EQ(::mkdir((QFile::encodeName(root) + "/bad\xff").constData(), 0700), 0);
    ASSERT_TRUE(QFile::link(root + "/a", root + "/link") &&
                QFile(root + "/song.mp3").open(QIODevice::WriteOnly));

    FolderTreeModel model;
    model.setRootPath(root);
    const QModelIndex top = model.index(0, 0);
    EXPECT_EQ(top.data().toString(), QFileInfo(root).fileName());
    EXPECT_TRUE(model.canFetchMore(top));
    EXPECT_EQ(model.rowCount(top), 0);
    model.fetchMore(top);
    EXPECT_EQ(fixtures::rowTexts(model, top), QStringList({"a", "b", "link"}));
    EXPECT_TRUE(model.watchedFolders().isEmpty()); // read, but not opened
    const QModelIndex deep = model.index(root + "/a/deep");
    ASSERT_TRUE(deep.isValid());
    EXPECT_EQ(model.filePath(deep.parent()), root + "/a");
    EXPECT_FALSE(model.index(root + "/.verborgen").isValid() || model.index(root + "x/a").isValid());

    // Opened folders are watched while all their ancestors are open.
    const QModelIndex a = model.index(root + "/a");
    const QStringList both{root, root + "/a"};
    for (const auto& [folder, open, watched] :
         {std::tuple(a, true, QStringList()), std::tuple(top, true, both),
          std::tuple(top, false, QStringList()), std::tuple(top, true, both)}) {
        model.setExpanded(folder, open);
        EXPECT_EQ(model.watchedFolders(), watched);
    }
    QTest::qWait(FolderTreeModel::kMinRereadMs + 200); // reads what was not watched meanwhile
    const QPersistentModelIndex kept(a);

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted),
        removed(&model, &QAbstractItemModel::rowsRemoved), reset(&model, &QAbstractItemModel::modelReset);
    const int readsBefore = model.foldersRead();
    for (int i = 0; i < 30; ++i) {
        const QString file = root + QStringLiteral("/a/churn%1.tmp").arg(i % 3);
        EXPECT_TRUE(QFile(file).open(QIODevice::WriteOnly));
        QFile::remove(root + QStringLiteral("/churn%1").arg(i));
        QFile::rename(file, root + QStringLiteral("/churn%1").arg(i + 1));
        QDir(root).mkdir(".tijdelijk");
        QDir(root).rmdir(".tijdelijk");
        QCoreApplication::processEvents();
    }
    QTest::qWait(FolderTreeModel::kMinRereadMs + 200);
    EXPECT_EQ(model.foldersRead(), readsBefore) << "files and hidden folders made it read again";
    EXPECT_EQ(inserted.count() + removed.count() + reset.count(), 0);

    // Folders made, renamed and removed: the rows follow, reading each folder at most once a
    // second however often it changes.
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 20; ++i) {
        QDir(root).mkdir("c");
        QDir(root).rmdir("c");
        QTest::qWait(10);
    }
    ASSERT_TRUE(QDir(root).mkdir("c") && QDir(root).rename("b", "e") && QDir(root + "/a").rmdir("deep") &&
                QDir(root + "/a").mkdir("nieuw"));
    const QStringList changed{"a", "c", "e", "link"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return fixtures::rowTexts(model, top) == changed; }, 5000))
        << fixtures::rowTexts(model, top).join(u',').toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return fixtures::rowTexts(model, a) == QStringList{"nieuw"}; }, 5000));
    QTest::qWait(FolderTreeModel::kMinRereadMs + 200);
    const qint64 seconds = clock.elapsed() / 1000;
    EXPECT_LE(model.foldersRead() - readsBefore, 2 * (seconds + 2)) << "in " << clock.elapsed() << " ms";
    EXPECT_EQ(QModelIndex(kept), model.index(root + "/a")) << "a folder that stays keeps its item";
    ::rmdir((QFile::encodeName(root) + "/bad\xff").constData()); // QTemporaryDir cannot name it
}

TEST(SongNames, OrderIgnoresCaseAndAccentsExceptToBreakTiesAndTheShownNameDropsTheExtension) {
    const QStringList expected{"A.mid",  "a.mp3",    "b.mp3",      "e.mp3",      "é.mp3",     "Éa.mp3",
                               "eb.mp3", "Song.mp3", "Song 2.mp3", "song-b.mp3", "Song10.mp3"};
    QStringList names = expected;
    std::reverse(names.begin(), names.end());
    common::sortNames(names);
    EXPECT_EQ(names, expected);
    // Canonically equal spellings still get a fixed order, else sorting is undefined.
    const QString composed = QStringLiteral("\u00e9.mp3"), decomposed = QStringLiteral("e\u0301.mp3");
    EXPECT_NE(common::compareNames(composed, decomposed), 0);
    EXPECT_EQ(common::compareNames(composed, decomposed), -common::compareNames(decomposed, composed));
    EXPECT_EQ(common::compareNames("a.mp3", "a.mp3"), 0);
    // The shown name drops the extension; the path is a plain join.
    EXPECT_EQ(QStringList({browse::displayName("a.b.MP3"), browse::displayName("Café ---/--- x.mp3"),
                           browse::displayName(".mp3"), browse::displayName("x"),
                           browse::fullPath("/music/jazz", "Intro.mp3"), browse::fullPath("/", "Intro.mp3")}),
              QStringList({"a.b", "Café ---/--- x", "", "", "/music/jazz/Intro.mp3", "//Intro.mp3"}));
}

TEST(Volumes, OffersUserVolumesWithTheirNames) {
    EXPECT_TRUE(browse::isBrowsable("/", "overlay"));
    EXPECT_TRUE(browse::isBrowsable("/media/jan/STICK", "vfat"));
    EXPECT_TRUE(browse::isBrowsable("/runner", "ext4"));
    EXPECT_FALSE(browse::isBrowsable("/data", "overlay"));
    EXPECT_FALSE(browse::isBrowsable("/proc", "proc"));
    EXPECT_FALSE(browse::isBrowsable("/run/user/1000", "tmpfs"));
    EXPECT_FALSE(browse::isBrowsable("/var/lib/docker/overlay2/abc/merged", "overlay"));
    EXPECT_EQ(browse::volumeCaption("/", QString()), "/");
    EXPECT_EQ(browse::volumeCaption("/media/usb", "MUZIEK"), "/media/usb [MUZIEK]");
}

} // namespace
