
#include "PermissionBits.h"
#include "playlist/PlaylistFile.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

using Entries = QVector<PlaylistEntry>;

TEST(PlaylistModel, BothColumnsMoveTogetherTheCountWaitsForARefreshAndItNeverGoesPastTheLimit) {
    PlaylistModel model;
    QSignalSpy spy(&model, &PlaylistModel::countTextChanged);
    EXPECT_EQ(model.countText(), "0 Songs in de playlist");
    model.appendMany({{"a", "/a.mp3"}, {"b", "/b.mp3"}, {"a", "/a.mp3"}, {"c", "/c.mp3"}});
    EXPECT_EQ(spy.count(), 0);
    model.refreshCount();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), "4 Songs in de playlist");
    model.removeAt(1);
    EXPECT_EQ(model.index(1, 0).data().toString(), "a");
    EXPECT_EQ(model.index(2, 1).data().toString(), "/c.mp3");
    model.removeAt(5);
    model.removeAt(-1);
    model.dropHead();
    model.removeAt(0);
    EXPECT_EQ(model.entries(), Entries({{"c", "/c.mp3"}}));
    EXPECT_EQ(model.countText(), "1 Songs in de playlist");
    model.dropHead();
    model.dropHead();
    EXPECT_TRUE(model.isEmpty());
    const int max = PlaylistModel::kMaxEntries;
    EXPECT_EQ(model.appendMany(Entries(max - 2, {"s", "/s.mp3"})), max - 2);
    EXPECT_EQ(model.appendMany({{"t0", "/t0.mp3"}, {"t1", "/t1.mp3"}, {"t2", "/t2.mp3"}}), 2);
    EXPECT_EQ(model.entry(max - 1).displayName, "t1");
    EXPECT_FALSE(model.append("x", "/x.mp3"));
    EXPECT_EQ(model.countText(), "32767 Songs in de playlist");
    EXPECT_EQ(model.replaceAll(Entries(max + 10, {"r", "/r.mp3"})), max);
    EXPECT_EQ(model.count(), max);
}

TEST(PlaylistFileFormat, WritesEveryLineWithSeparatorAndCrLfAndReadsByTheReaderRules) {
    EXPECT_EQ(
        playlist::serializePlaylist({{"Intro", "/music/Intro.mp3"}, {"Café", "//Café.mid"}, {"", ""}}),
        QByteArray(
            "/music/Intro.mp3 ---/--- Intro\r\n//Caf\xC3\xA9.mid ---/--- Caf\xC3\xA9\r\n ---/--- \r\n"));
    const Entries entries{{"日本の歌 🎵", "/muziek/日本の歌 🎵.mid"},
                          {"a ---/--- b", "/x/a.mp3"},
                          {"  blanks  ", "//  blanks  .mp3"}};
    const playlist::ParsedPlaylist parsed = playlist::parsePlaylist(playlist::serializePlaylist(entries));
    EXPECT_EQ(std::pair(parsed.entries, int(parsed.dropped)), std::pair(entries, 0));

    // The first separator splits; a line may start with it; CR LF, CR and LF end a line; blank
    // and separator-less lines are skipped; nothing is trimmed; the last line needs no end.
    const QByteArray bytes = " ---/--- no path\r\n\r\n     \r\nno separator here\r\n"
                             "/a ---/--- b ---/--- c\r"
                             "/lf ---/--- one\ntwo\r\n"
                             "\n/after ---/--- lf cr\n\r/cr ---/--- cr\r\r\n"
                             "/p ---/---n\r\n/p---/--- n\r\n"
                             "  /p  ---/---  n  \r\n"
                             "/last ---/--- no end";
    EXPECT_EQ(playlist::parsePlaylist(bytes).entries, Entries({{"no path", ""},
                                                               {"b ---/--- c", "/a"},
                                                               {"one", "/lf"},
                                                               {"lf cr", "/after"},
                                                               {"cr", "/cr"},
                                                               {" n  ", "  /p "},
                                                               {"no end", "/last"}}));
    // A line that is not UTF-8 is Windows-1252; the lines around it stay UTF-8.
    EXPECT_EQ(playlist::parsePlaylist(
                  "/\xC3\xA9\xC3\xA9n ---/--- \xC3\xA9\xC3\xA9n\n"
                  "C:\\Caf\xE9 \x80.mp3 ---/--- Caf\xE9 \x80\r\n/\xE2\x82\xAC ---/--- \xE2\x82\xAC")
                  .entries,
              Entries({{"één", "/één"}, {"Café €", "C:\\Café €.mp3"}, {"€", "/€"}}));
    const playlist::ParsedPlaylist limited =
        playlist::parsePlaylist("/a ---/--- a\r\nskip\r\n/b ---/--- b\r\n/c ---/--- c\r\n/d ---/--- d", 2);
    EXPECT_EQ(limited.entries, Entries({{"a", "/a"}, {"b", "/b"}}));
    EXPECT_EQ(limited.dropped, 2);
}

class PlaylistStore : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString program = dir.path();
    const QString folder = playlist::playlistFolder(program);

    QByteArray bytes(const QString& name) const {
        return fixtures::readFile(playlist::playlistFilePath(program, name));
    }
    void write(const QString& fileName, const QByteArray& content) {
        ASSERT_TRUE(fixtures::writeFile(folder + u'/' + fileName, content));
    }
};

TEST_F(PlaylistStore, StoredPlaylistsAreListedInNameOrderAndRemovedEvenNamesTheWriterRefuses) {
    const QString longName(250, u'x'); // no room left for the writer's temporary file
    write(longName + ".lst", "/m/a.mp3 ---/--- a\r\n");
    write("..lst", "/m/b.mp3 ---/--- b\r\n");
    ASSERT_EQ(playlist::storedPlaylistNames(program), QStringList({".", longName}));
    EXPECT_FALSE(playlist::playlistNameProblem(longName).isEmpty());
    EXPECT_EQ(playlist::loadPlaylist(program, longName).parsed.entries, Entries({{"a", "/m/a.mp3"}}));
    EXPECT_EQ(playlist::loadPlaylist(program, ".").parsed.entries, Entries({{"b", "/m/b.mp3"}}));
    EXPECT_FALSE(playlist::removePlaylist(program, "../Playlist/."));
    EXPECT_TRUE(playlist::removePlaylist(program, longName));
    EXPECT_TRUE(playlist::removePlaylist(program, "."));
    EXPECT_TRUE(playlist::storedPlaylistNames(program).isEmpty());
    for (const char* name : {"Rock.lst", "jazz.lst", "Blues.lst", ".verborgen.lst", "notes.txt", "Oud.LST"}) {
        write(name, "");
    }
    QDir().mkpath(folder + "/Map.lst");
    EXPECT_EQ(playlist::storedPlaylistNames(program), QStringList({".verborgen", "Blues", "jazz", "Rock"}));
    for (const auto& [name, reason] : {std::pair{"Weg", "het bestand of de map bestaat niet"},
                                       std::pair{"Map", "er staat een map met die naam"}}) {
        const playlist::LoadedPlaylist loaded = playlist::loadPlaylist(program, name);
        EXPECT_EQ(std::pair(loaded.opened, loaded.error), std::pair(false, QString(reason)));
    }
    EXPECT_TRUE(playlist::removePlaylist(program, "jazz"));
    EXPECT_TRUE(playlist::removePlaylist(program, "jazz")) << "gone already counts as gone";
    EXPECT_EQ(playlist::storedPlaylistNames(program), QStringList({".verborgen", "Blues", "Rock"}));
    // A read-only Playlist folder keeps its files, and says why.
    const PermissionBits readOnly(folder);
    if (!readOnly.active()) {
        GTEST_SKIP() << "permission bits cannot be made to stop this root thread (no capset)";
    }
    QString error;
    EXPECT_FALSE(playlist::removePlaylist(program, "Rock", &error));
    EXPECT_EQ(error, "geen toestemming");
    EXPECT_EQ(playlist::storedPlaylistNames(program), QStringList({".verborgen", "Blues", "Rock"}));
}

TEST_F(PlaylistStore, AFailedOrRefusedSaveReportsAndKeepsTheOldFile) {
    ASSERT_TRUE(playlist::savePlaylist(program, "Rock", {{"oud", "/oud.mp3"}}, nullptr));
    Entries big(200, {"song", "/muziek/song.mp3"});
    QString error;
    bool saved = true;
    {
        // A full disk, also for root: writes past 64 bytes fail. Nothing may print in here.
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit full{64, old.rlim_max};
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &full);
        saved = playlist::savePlaylist(program, "Rock", big, &error);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, handler);
    }
    EXPECT_FALSE(saved);
    EXPECT_TRUE(error.contains("niet worden opgeslagen (het bestand wordt te groot)")) << error.toStdString();
    // A read-only folder: the reason in Dutch, as for every usual cause.
    {
        const PermissionBits readOnly(folder);
        saved = readOnly.active() && playlist::savePlaylist(program, "Rock", big, &error);
    }
    EXPECT_TRUE(!saved && error.contains("niet worden opgeslagen (geen toestemming)")) << error.toStdString();
    EXPECT_EQ(bytes("Rock"), "/oud.mp3 ---/--- oud\r\n");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({"Rock.lst"}));

    // Entries that would read back wrong are refused.
    for (const PlaylistEntry& bad :
         {PlaylistEntry{"a\rb", "/m/a\rb.mp3"}, PlaylistEntry{"--- y", "/m/x ---/--- y.mp3"},
          PlaylistEntry{"naam\r", "/m/naam.mp3"}, PlaylistEntry{"lf", "/m/l\nf.mp3"},
          PlaylistEntry{"l\nf", "/m/lf.mp3"}}) {
        error.clear();
        EXPECT_FALSE(playlist::savePlaylist(program, "Rock", {{"goed", "/m/goed.mp3"}, bad}, &error));
        EXPECT_TRUE(error.contains(bad.displayName)) << error.toStdString();
        EXPECT_EQ(bytes("Rock"), "/oud.mp3 ---/--- oud\r\n");
    }
    EXPECT_EQ(playlist::playlistEntriesProblem({{"x", "/m/a\nb.mp3"}}),
              playlist::playlistEntriesProblem({{"x", "/m/a\rb.mp3"}}));
    // A separator in the display name reads back whole.
    EXPECT_TRUE(playlist::playlistEntriesProblem({{"a ---/--- b", "/m/ab.mp3"}}).isEmpty());
}

} // namespace
