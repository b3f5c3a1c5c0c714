#include "EntryPrinter.h"
#include "FileLimit.h"

#include "playlist/PlaylistFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Entries = QVector<PlaylistEntry>;

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

TEST(PlaylistFileFormat, WritesEveryLineWithSeparatorAndCrLf) {
    const Entries entries{{"Intro", "/music/Intro.mp3"}, {"Theme", "//Theme.mid"}, {"", ""}};
    EXPECT_EQ(PlaylistFile::serialize(entries),
              QByteArray("/music/Intro.mp3 ---/--- Intro\r\n//Theme.mid ---/--- Theme\r\n ---/--- \r\n"));
    EXPECT_EQ(PlaylistFile::serialize({}), QByteArray());
    EXPECT_EQ(PlaylistFile::serialize({{QStringLiteral("Café"), QStringLiteral("/m/Café.mp3")}}),
              QByteArray("/m/Caf\xC3\xA9.mp3 ---/--- Caf\xC3\xA9\r\n"));
}

TEST(PlaylistFileFormat, RoundTripKeepsEveryEntryExactly) {
    const Entries entries{
        {QStringLiteral("Café del Mar"), QStringLiteral("/muziek/Café del Mar.mp3")},
        {QStringLiteral("日本の歌 🎵"), QStringLiteral("/muziek/日本の歌 🎵.mid")},
        {QStringLiteral("a ---/--- b"), QStringLiteral("/x/a.mp3")},
        {QStringLiteral("  blanks  "), QStringLiteral("//  blanks  .mp3")},
        {QStringLiteral("Intro"), QStringLiteral("/music/Intro.mp3")},
        {QStringLiteral("Intro"), QStringLiteral("/music/Intro.mp3")},
        {QStringLiteral("line\nfeed"), QStringLiteral("/lf/line\nfeed.mp3")},
    };
    const PlaylistFile::Parsed parsed = PlaylistFile::parse(PlaylistFile::serialize(entries));
    EXPECT_EQ(parsed.entries, entries);
    EXPECT_EQ(parsed.dropped, 0);
}

TEST(PlaylistFileFormat, ReaderRules) {
    // The first separator splits; a line may start with it; CR alone ends a line; a lone LF is
    // part of the line; blank and separator-less lines are skipped; the last line needs no end.
    const QByteArray bytes = " ---/--- no path\r\n"
                             "\r\n"
                             "     \r\n"
                             "no separator here\r\n"
                             "/a ---/--- b ---/--- c\r"
                             "/lf ---/--- one\ntwo ---/--- three\r\n"
                             "\n/after ---/--- crlflf\r\n"
                             "/last ---/--- no end";
    const Entries expected{
        {QStringLiteral("no path"), QString()},
        {QStringLiteral("b ---/--- c"), QStringLiteral("/a")},
        {QStringLiteral("one\ntwo ---/--- three"), QStringLiteral("/lf")},
        {QStringLiteral("crlflf"), QStringLiteral("\n/after")},
        {QStringLiteral("no end"), QStringLiteral("/last")},
    };
    EXPECT_EQ(PlaylistFile::parse(bytes).entries, expected);
    EXPECT_TRUE(PlaylistFile::parse(QByteArray()).entries.isEmpty());
    EXPECT_TRUE(PlaylistFile::parse("\r\n\r\n").entries.isEmpty());
    // Nothing is trimmed; the separator must be exact.
    EXPECT_EQ(PlaylistFile::parse("  /p  ---/---  n  \r\n").entries,
              Entries({{QStringLiteral(" n  "), QStringLiteral("  /p ")}}));
    EXPECT_TRUE(PlaylistFile::parse("/p ---/---n\r\n/p---/--- n\r\n/p --/-- n\r\n").entries.isEmpty());
}

TEST(PlaylistFileFormat, ReadsWindows1252WhenNotUtf8) {
    const QByteArray bytes = "C:\\Muziek\\Caf\xE9 \x80.mp3 ---/--- Caf\xE9 \x80\r\n";
    EXPECT_EQ(PlaylistFile::parse(bytes).entries,
              Entries({{QStringLiteral("Café €"), QStringLiteral("C:\\Muziek\\Café €.mp3")}}));
}

TEST(PlaylistFileFormat, StopsAtTheLimitAndCountsTheRest) {
    const PlaylistFile::Parsed parsed =
        PlaylistFile::parse("/a ---/--- a\r\nskip\r\n/b ---/--- b\r\n/c ---/--- c\r\n"
                            "/d ---/--- d\r\n",
                            2);
    EXPECT_EQ(parsed.entries, Entries({{"a", "/a"}, {"b", "/b"}}));
    EXPECT_EQ(parsed.dropped, 2);
}

TEST(PlaylistFileNames, RefusesNamesThatLeaveTheFolder) {
    for (const QString& bad :
         {QStringLiteral("a/b"), QStringLiteral("../x"), QStringLiteral("/"), QStringLiteral("."),
          QStringLiteral(".."), QString(QStringLiteral("a")).append(QChar(0)).append(u'b'),
          QString(245, u'x'), QString(123, QChar(0x00E9))}) {
        EXPECT_FALSE(PlaylistFile::nameProblem(bad).isEmpty()) << bad.toStdString();
    }
    for (const QString& good :
         {QStringLiteral("Jazz"), QStringLiteral(" Jazz "), QStringLiteral("..."),
          QStringLiteral(".verborgen"), QStringLiteral("a\\b"), QStringLiteral("Café"), QString(244, u'x')}) {
        EXPECT_TRUE(PlaylistFile::nameProblem(good).isEmpty()) << good.toStdString();
    }
    EXPECT_EQ(PlaylistFile::filePath(QStringLiteral("/prog"), QStringLiteral(" Jazz ")),
              QStringLiteral("/prog/Playlist/ Jazz .lst"));
}

class PlaylistFileStore : public ::testing::Test {
protected:
    QTemporaryDir program;
    QString folder() const { return program.path(); }
    QString file(const QString& name) const { return PlaylistFile::filePath(folder(), name); }
};

TEST_F(PlaylistFileStore, FirstSaveCreatesTheFolderAndLoadReadsItBack) {
    const Entries entries{{QStringLiteral("Één"), QStringLiteral("/m/Één.mp3")}, {"Twee", "/m/Twee.mid"}};
    ASSERT_FALSE(QFileInfo::exists(PlaylistFile::folderPath(folder())));
    QString error;
    ASSERT_TRUE(PlaylistFile::save(folder(), QStringLiteral("Jazz"), entries, &error)) << error.toStdString();
    EXPECT_TRUE(QFileInfo(PlaylistFile::folderPath(folder())).isDir());
    EXPECT_EQ(readBytes(file(QStringLiteral("Jazz"))), PlaylistFile::serialize(entries));

    const PlaylistFile::Loaded loaded = PlaylistFile::load(folder(), QStringLiteral("Jazz"));
    EXPECT_TRUE(loaded.opened);
    EXPECT_EQ(loaded.parsed.entries, entries);
    EXPECT_EQ(QDir(PlaylistFile::folderPath(folder())).entryList(QDir::Files | QDir::Hidden),
              QStringList({"Jazz.lst"}));
}

TEST_F(PlaylistFileStore, ShorterPlaylistLeavesNoOldBytes) {
    const Entries longer{{"een", "/a/een.mp3"}, {"twee", "/a/twee.mp3"}, {"drie", "/a/drie.mp3"}};
    const Entries shorter{{"x", "/x.mp3"}};
    ASSERT_TRUE(PlaylistFile::save(folder(), QStringLiteral("Rock"), longer, nullptr));
    ASSERT_TRUE(PlaylistFile::save(folder(), QStringLiteral("Rock"), shorter, nullptr));
    EXPECT_EQ(readBytes(file(QStringLiteral("Rock"))), QByteArray("/x.mp3 ---/--- x\r\n"));
    ASSERT_TRUE(PlaylistFile::save(folder(), QStringLiteral("Rock"), {}, nullptr));
    EXPECT_EQ(readBytes(file(QStringLiteral("Rock"))), QByteArray());
}

TEST_F(PlaylistFileStore, RefusedNameWritesNothing) {
    QString error;
    EXPECT_FALSE(PlaylistFile::save(folder(), QStringLiteral("../buiten"), {{"a", "/a.mp3"}}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(PlaylistFile::folderPath(folder())));
    EXPECT_FALSE(QFileInfo::exists(program.filePath(QStringLiteral("buiten.lst"))));
    EXPECT_FALSE(PlaylistFile::load(folder(), QStringLiteral("../buiten")).opened);
}

TEST_F(PlaylistFileStore, FailedSaveReportsAndKeepsTheOldFile) {
    const Entries old{{"oud", "/oud.mp3"}};
    ASSERT_TRUE(PlaylistFile::save(folder(), QStringLiteral("Rock"), old, nullptr));
    const QByteArray before = readBytes(file(QStringLiteral("Rock")));
    Entries big;
    for (int i = 0; i < 200; ++i) {
        big.append({QStringLiteral("song %1").arg(i), QStringLiteral("/muziek/song %1.mp3").arg(i)});
    }
    QString error;
    bool saved = true;
    {
        // Nothing may print inside this scope: output to a file would be cut off too.
        const FileSizeLimit full(64);
        saved = PlaylistFile::save(folder(), QStringLiteral("Rock"), big, &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_TRUE(error.contains(QStringLiteral("niet worden opgeslagen"))) << error.toStdString();
    EXPECT_EQ(readBytes(file(QStringLiteral("Rock"))), before);
    EXPECT_EQ(QDir(PlaylistFile::folderPath(folder())).entryList(QDir::Files | QDir::Hidden),
              QStringList({"Rock.lst"}));
}

TEST_F(PlaylistFileStore, EntriesThatWouldReadBackWrongAreRefused) {
    // A CR ends a line early and a separator inside the path splits it in the wrong place; a
    // lone LF and a separator in the display name read back whole.
    const Entries old{{"oud", "/oud.mp3"}};
    ASSERT_TRUE(PlaylistFile::save(folder(), QStringLiteral("Rock"), old, nullptr));
    const QByteArray before = readBytes(file(QStringLiteral("Rock")));
    for (const PlaylistEntry& bad :
         {PlaylistEntry{"a\rb", "/m/a\rb.mp3"}, PlaylistEntry{"--- y", "/m/x ---/--- y.mp3"},
          PlaylistEntry{"naam\r", "/m/naam.mp3"}}) {
        const Entries entries{{"goed", "/m/goed.mp3"}, bad};
        EXPECT_FALSE(PlaylistFile::entriesProblem(entries).isEmpty());
        QString error;
        EXPECT_FALSE(PlaylistFile::save(folder(), QStringLiteral("Rock"), entries, &error));
        EXPECT_TRUE(error.contains(bad.displayName)) << error.toStdString();
        EXPECT_EQ(readBytes(file(QStringLiteral("Rock"))), before);
    }
    EXPECT_TRUE(PlaylistFile::entriesProblem({{"a ---/--- b", "/m/a\nb.mp3"}}).isEmpty());
}

TEST_F(PlaylistFileStore, StoredNamesTheWriterRefusesStillLoadAndDelete) {
    const QString name(250, u'x');
    writeBytes(file(name), "/m/a.mp3 ---/--- a\r\n");
    ASSERT_EQ(PlaylistFile::storedNames(folder()), QStringList({name}));
    EXPECT_FALSE(PlaylistFile::nameProblem(name).isEmpty()) << "the writer needs room for its temporary file";
    const PlaylistFile::Loaded loaded = PlaylistFile::load(folder(), name);
    EXPECT_TRUE(loaded.opened);
    EXPECT_EQ(loaded.parsed.entries, Entries({{"a", "/m/a.mp3"}}));
    EXPECT_TRUE(PlaylistFile::remove(folder(), name));
    EXPECT_TRUE(PlaylistFile::storedNames(folder()).isEmpty());

    // The writer refuses "." and "..", but "..lst" made by hand is a file inside the folder.
    writeBytes(file(QStringLiteral(".")), "/m/b.mp3 ---/--- b\r\n");
    ASSERT_EQ(PlaylistFile::storedNames(folder()), QStringList({"."}));
    EXPECT_EQ(PlaylistFile::load(folder(), QStringLiteral(".")).parsed.entries, Entries({{"b", "/m/b.mp3"}}));
    EXPECT_TRUE(PlaylistFile::remove(folder(), QStringLiteral(".")));
    EXPECT_FALSE(PlaylistFile::remove(folder(), QStringLiteral("../Playlist/.")));
}

TEST_F(PlaylistFileStore, PlaylistFolderThatIsAFileIsAFailure) {
    writeBytes(PlaylistFile::folderPath(folder()), "not a folder");
    QString error;
    EXPECT_FALSE(PlaylistFile::save(folder(), QStringLiteral("Rock"), {{"a", "/a.mp3"}}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readBytes(PlaylistFile::folderPath(folder())), QByteArray("not a folder"));
}

TEST_F(PlaylistFileStore, MissingOrOddFilesLoadNothing) {
    EXPECT_FALSE(PlaylistFile::load(folder(), QStringLiteral("Weg")).opened);
    ASSERT_TRUE(QDir().mkpath(file(QStringLiteral("Map"))));
    const PlaylistFile::Loaded directory = PlaylistFile::load(folder(), QStringLiteral("Map"));
    EXPECT_TRUE(directory.parsed.entries.isEmpty());
    EXPECT_FALSE(PlaylistFile::fileExists(file(QStringLiteral("Map"))));
}

TEST_F(PlaylistFileStore, StoredNamesInOrderAndRemove) {
    EXPECT_TRUE(PlaylistFile::storedNames(folder()).isEmpty());
    for (const char* name : {"Rock.lst", "jazz.lst", "Blues.lst", ".verborgen.lst", "notes.txt", "Oud.LST"}) {
        writeBytes(PlaylistFile::folderPath(folder()) + u'/' + QString::fromLatin1(name), "");
    }
    QDir().mkpath(file(QStringLiteral("Map")));
    EXPECT_EQ(PlaylistFile::storedNames(folder()), QStringList({".verborgen", "Blues", "jazz", "Rock"}));
    EXPECT_TRUE(PlaylistFile::remove(folder(), QStringLiteral("jazz")));
    EXPECT_FALSE(PlaylistFile::remove(folder(), QStringLiteral("jazz")));
    EXPECT_EQ(PlaylistFile::storedNames(folder()), QStringList({".verborgen", "Blues", "Rock"}));
}

} // namespace
