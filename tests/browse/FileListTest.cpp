#include "browse/FileList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

QStringList songsIn(const QString& folder) {
    const FileList::Listing listing = FileList::list(folder, FileList::songFilter());
    EXPECT_TRUE(listing.ok) << listing.error.toStdString();
    return listing.names;
}

TEST(FileList, KeepsMp3AndMidiOfAnyCaseInOrder) {
    QTemporaryDir dir;
    for (const char* name : {"third.wav", "second.mid", "first.MP3"}) {
        touch(dir.filePath(QString::fromLatin1(name)));
    }
    EXPECT_EQ(songsIn(dir.path()), QStringList({"first.MP3", "second.mid"}));
}

TEST(FileList, LeavesOutWhatIsNotAnOrdinarySongFile) {
    QTemporaryDir dir;
    for (const char* name : {"song.mp3", ".hidden.mp3", ".mp3", "mp3", "x.mp3.bak", "y.mp", "z.midi",
                             "Upper.MID", "mixed.Mp3"}) {
        touch(dir.filePath(QString::fromLatin1(name)));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.mp3")));
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.mid"))).constData(), 0600), 0);
    ASSERT_TRUE(
        QFile::link(dir.filePath(QStringLiteral("song.mp3")), dir.filePath(QStringLiteral("link.mp3"))));
    ASSERT_TRUE(
        QFile::link(dir.filePath(QStringLiteral("gone.mp3")), dir.filePath(QStringLiteral("dangling.mp3"))));
    ASSERT_TRUE(
        QFile::link(dir.filePath(QStringLiteral("folder.mp3")), dir.filePath(QStringLiteral("dirlink.mid"))));

    EXPECT_EQ(songsIn(dir.path()), QStringList({"link.mp3", "mixed.Mp3", "song.mp3", "Upper.MID"}));
}

TEST(FileList, DecodesNonAsciiNamesAndSortsThemWithTheirBaseLetter) {
    QTemporaryDir dir;
    for (const QString& name :
         {QStringLiteral("Zoë.mid"), QStringLiteral("Édith.mp3"), QStringLiteral("eagle.mp3"),
          QStringLiteral("日本.mp3"), QStringLiteral("fado.MP3")}) {
        touch(dir.filePath(name));
    }
    EXPECT_EQ(songsIn(dir.path()), QStringList({QStringLiteral("eagle.mp3"), QStringLiteral("Édith.mp3"),
                                                QStringLiteral("fado.MP3"), QStringLiteral("Zoë.mid"),
                                                QStringLiteral("日本.mp3")}));
}

TEST(FileList, EmptyAndMissingFolders) {
    QTemporaryDir dir;
    const FileList::Listing empty = FileList::list(dir.path(), FileList::songFilter());
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(empty.names.isEmpty());
    EXPECT_TRUE(FileList::canOpen(dir.path()));

    const QString missing = dir.filePath(QStringLiteral("missing"));
    const FileList::Listing none = FileList::list(missing, FileList::songFilter());
    EXPECT_FALSE(none.ok);
    EXPECT_FALSE(none.error.isEmpty());
    EXPECT_FALSE(FileList::canOpen(missing));

    touch(dir.filePath(QStringLiteral("plain.mp3")));
    EXPECT_FALSE(FileList::list(dir.filePath(QStringLiteral("plain.mp3")), FileList::songFilter()).ok);
}

TEST(FileList, ExactSuffixAndHiddenNamesOnRequest) {
    QTemporaryDir dir;
    for (const char* name : {"Rock.lst", ".secret.lst", "Jazz.lst", "LOUD.LST", "notes.txt", ".lst"}) {
        touch(dir.filePath(QString::fromLatin1(name)));
    }
    const FileList::Filter filter{{QByteArrayLiteral(".lst")}, false, true};
    const FileList::Listing listing = FileList::list(dir.path(), filter);
    EXPECT_EQ(listing.names, QStringList({".secret.lst", "Jazz.lst", "Rock.lst"}));
}

} // namespace
