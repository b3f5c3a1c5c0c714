#include "browse/FileList.h"
#include "browse/NameOrder.h"
#include "browse/SongNames.h"
#include "browse/Volumes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

namespace {

TEST(FileList, KeepsOrdinaryMp3AndMidiFilesOfAnyCaseInNameOrder) {
    QTemporaryDir dir;
    for (const char* name : {"third.wav", "second.mid", "first.MP3", ".hidden.mp3", ".mp3", "mp3",
                             "x.mp3.bak", "z.midi", "Zoë.mid", "Édith.mp3", "eagle.mp3"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mp3"));
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("pipe.mid")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.filePath("eagle.mp3"), dir.filePath("link.mp3")));
    ASSERT_TRUE(QFile::link(dir.filePath("gone.mp3"), dir.filePath("dangling.mp3")));
    ASSERT_TRUE(QFile::link(dir.filePath("folder.mp3"), dir.filePath("dirlink.mid")));
    const FileList::Listing listing = FileList::list(dir.path(), FileList::songFilter());
    EXPECT_TRUE(listing.ok);
    EXPECT_EQ(listing.names,
              QStringList({"eagle.mp3", "Édith.mp3", "first.MP3", "link.mp3", "second.mid", "Zoë.mid"}));

    for (const QString& notAFolder : {dir.filePath("missing"), dir.filePath("eagle.mp3")}) {
        const FileList::Listing none = FileList::list(notAFolder, FileList::songFilter());
        EXPECT_FALSE(none.ok);
        EXPECT_FALSE(none.error.isEmpty());
    }
    EXPECT_TRUE(FileList::canOpen(dir.path()));
    EXPECT_FALSE(FileList::canOpen(dir.filePath("missing")));
}

TEST(NameOrder, IgnoresCaseAndAccentsExceptToBreakTiesAndIsTotal) {
    const QStringList expected{"A.mid",  "a.mp3",    "b.mp3",      "e.mp3",      "é.mp3",     "Éa.mp3",
                               "eb.mp3", "Song.mp3", "Song 2.mp3", "song-b.mp3", "Song10.mp3"};
    QStringList names = expected;
    std::reverse(names.begin(), names.end());
    NameOrder::sort(names);
    EXPECT_EQ(names, expected);
    // Canonically equal spellings still get a fixed order, else sorting is undefined.
    const QString composed = QStringLiteral("\u00e9.mp3");
    const QString decomposed = QStringLiteral("e\u0301.mp3");
    EXPECT_NE(NameOrder::compare(composed, decomposed), 0);
    EXPECT_EQ(NameOrder::compare(composed, decomposed), -NameOrder::compare(decomposed, composed));
    EXPECT_EQ(NameOrder::compare("a.mp3", "a.mp3"), 0);
}

TEST(SongNames, DisplayNameDropsTheExtensionAndPathIsAPlainJoin) {
    EXPECT_EQ(SongNames::displayName("a.b.MP3"), "a.b");
    EXPECT_EQ(SongNames::displayName("Café ---/--- x.mp3"), "Café ---/--- x");
    EXPECT_EQ(SongNames::displayName(".mp3"), "");
    EXPECT_EQ(SongNames::displayName("x"), "");
    EXPECT_EQ(SongNames::fullPath("/music/jazz", "Intro.mp3"), "/music/jazz/Intro.mp3");
    EXPECT_EQ(SongNames::fullPath("/", "Intro.mp3"), "//Intro.mp3");
}

TEST(Volumes, OffersUserVolumesWithTheirNames) {
    EXPECT_TRUE(Volumes::isBrowsable("/", "overlay"));
    EXPECT_TRUE(Volumes::isBrowsable("/media/jan/STICK", "vfat"));
    EXPECT_TRUE(Volumes::isBrowsable("/runner", "ext4"));
    EXPECT_FALSE(Volumes::isBrowsable("/data", "overlay"));
    EXPECT_FALSE(Volumes::isBrowsable("/proc", "proc"));
    EXPECT_FALSE(Volumes::isBrowsable("/run/user/1000", "tmpfs"));
    EXPECT_FALSE(Volumes::isBrowsable("/var/lib/docker/overlay2/abc/merged", "overlay"));
    EXPECT_EQ(Volumes::caption("/", QString()), "/");
    EXPECT_EQ(Volumes::caption("/media/usb", "MUZIEK"), "/media/usb [MUZIEK]");
}

} // namespace
