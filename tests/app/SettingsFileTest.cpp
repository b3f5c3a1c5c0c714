#include "common/SettingsFile.h"
#include "app/ProgramFolder.h"
#include "common/TextFiles.h"
#include "playlist/PlaylistFile.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using fixtures::readFile;
using fixtures::writeFile;

namespace {

const QByteArray kDefaults = "200,230,230\r\n230,230,200\r\n190,190,200\r\n100,70,40\r\n\"Tunara 1\"\r\n"
                             "\"Hier kan uw reclame tekst staan...\"\r\n\"\"\r\n\"C:/mp3\"\r\n";
// Every field differs from the defaults, to see which fields a read replaced.
const Settings kMarked{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, "r", "a", "l", "s"};

class SettingsFileTest : public ::testing::Test {
protected:
    QString path() const { return common::settingsFilePath(m_dir.path()); }
    bool load(Settings& s) const {
        s = kMarked;
        return common::LoadSettings(path(), s);
    }
    QTemporaryDir m_dir;
};

TEST_F(SettingsFileTest, DefaultsAreTheEightLinesAndReadBack) {
    ASSERT_TRUE(common::SaveSettings(path(), Settings{}));
    EXPECT_EQ(readFile(path()), kDefaults); // an empty logo path is two double quotes
    Settings s;
    ASSERT_TRUE(load(s));
    EXPECT_EQ(s, Settings{});
    // A byte-order mark is skipped and lines after the eighth are ignored.
    writeFile(path(), "\xEF\xBB\xBF" + kDefaults + "\"extra\"\r\n1,2,3\r\ngarbage");
    ASSERT_TRUE(load(s));
    EXPECT_EQ(s, Settings{});
    // A line that is not UTF-8 is Windows-1252, also after a byte-order mark; the others stay UTF-8.
    writeFile(
        path(),
        "\xEF\xBB\xBF"
        "9,8,7\r\n4,5,6\r\n7,8,9\r\n10,11,12\r\n\"\"\r\n\"Caf\xe9 \x80 5\"\r\n\"/\xC3\xA9\xC3\xA9n.png\"\n"
        "\"D:\\Fran\xe7oise\"");
    ASSERT_TRUE(load(s));
    EXPECT_EQ(s.leftColour, (ColourTriple{9, 8, 7}));
    EXPECT_EQ(s.advertText, u"Café € 5"_s);
    EXPECT_EQ(s.logoPath, u"/één.png"_s);
    EXPECT_EQ(s.searchFolder, u"D:\\Françoise"_s);
}

TEST_F(SettingsFileTest, TextsSurviveARoundTrip) {
    Settings s = kMarked;
    s.advertText = u"Koop nu, want: op = op, echt waar,,"_s;
    s.logoPath = u"/home/jan/Mijn foto's/logo één.png"_s;
    s.searchFolder = u"  /media/usb,2/muziek"_s;
    ASSERT_TRUE(common::SaveSettings(path(), s));
    Settings back;
    ASSERT_TRUE(common::LoadSettings(path(), back));
    EXPECT_EQ(back, s);
    // The reader has no escape for a double quote: it becomes a typographic one, opening and closing.
    s.advertText = u"De \"beste\" muziek, \"echt\""_s;
    ASSERT_TRUE(common::SaveSettings(path(), s));
    ASSERT_TRUE(common::LoadSettings(path(), back));
    s.advertText = u"De “beste” muziek, “echt”"_s;
    EXPECT_EQ(back, s);
}

TEST_F(SettingsFileTest, ShortOrUnreadableFileFailsKeepingTheFieldsReadSoFar) {
    Settings s;
    EXPECT_FALSE(load(s)); // missing
    EXPECT_EQ(s, kMarked);
    EXPECT_FALSE(common::LoadSettings(m_dir.path(), s)); // a folder
    ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
    EXPECT_FALSE(load(s)); // would block forever if it opened the pipe
    EXPECT_EQ(s, kMarked);
    EXPECT_TRUE(common::SaveSettings(path(), Settings{}) && load(s)); // a regular file takes the pipe's place

    const std::pair<QByteArray, Settings> cases[] = {
        {"", kMarked},
        {"9,9,9\r\n8,8", {{9, 9, 9}, {8, 8, 6}, {7, 8, 9}, {10, 11, 12}, "r", "a", "l", "s"}},
        {"9,9,9\r\n8,8,8\r\n7,7,7\r\n6,6,6\r\n",
         {{9, 9, 9}, {8, 8, 8}, {7, 7, 7}, {6, 6, 6}, "r", "a", "l", "s"}},
        {"9,9,9\r\n8,8,8\r\n7,7,7\r\n6,6,6\r\n\"R\"\r\n\"Re\"\r\n",
         {{9, 9, 9}, {8, 8, 8}, {7, 7, 7}, {6, 6, 6}, "R", "Re", "l", "s"}},
    };
    for (const auto& [bytes, expected] : cases) {
        writeFile(path(), bytes);
        EXPECT_FALSE(load(s)) << bytes.constData();
        EXPECT_EQ(s, expected) << bytes.constData();
    }
}

TEST(SettingsReader, FieldRules) {
    const auto texts = [](const char* r, const char* a, const char* l, const char* f) {
        return Settings{
            kMarked.leftColour, kMarked.rightColour, kMarked.infoBarColour, kMarked.textColour, r, a, l, f};
    };
    // The text, whether it holds every field, what it reads as.
    const std::tuple<QString, bool, Settings> cases[] = {
        // Commas and line ends of every kind separate fields: all twelve numbers may share a line.
        {u"200,230,230,230,230,200,190,190,200,100,70,40\n\"Tunara 1\"\r"
         "\"Hier kan uw reclame tekst staan...\",\"\"\r\n\"C:/mp3\""_s,
         true, Settings{}},
        // Blanks before a field are skipped; after a closing quote the rest up to the separator is
        // dropped; a quoted field runs across a line end; an unquoted text runs to the comma.
        {u"  1,\t2 , 3\r\n4,5,6\r\n7,8,9\r\n10,11,12\r\n   \"res\" dropped\r\n"
         "\"twee\r\nregels\"\r\nplain, 2nd\r\n"_s,
         true, texts("res", "twee\r\nregels", "plain", "2nd")},
        // An unclosed last quote runs to the end; the end right after a separator is too early.
        {u"1,2,3,4,5,6,7,8,9,10,11,12,\"a\",\"b\",\"c\",\"open end"_s, true,
         texts("a", "b", "c", "open end")},
        {u"1,2,3,4,5,6,7,8,9,10,11,12,\"a\",\"b\",\"c\","_s, false, texts("a", "b", "c", "s")},
        // Colours round halves to even and keep what they read in -32768..32767 (the screen clamps);
        // a field that is no number keeps the previous value.
        {u"2.5,3.5,-7\r\n300,abc,\r\n99999999,-1e9, +12 \r\nnan,inf,0x10\r\n\"\",\"\",\"\",\"\""_s, true,
         Settings{{2, 4, -7}, {300, 5, 6}, {32767, -32768, 12}, {10, 11, 12}, "", "", "", ""}},
    };
    for (const auto& [text, complete, expected] : cases) {
        Settings s = kMarked;
        EXPECT_EQ(common::parseSettingsText(text, s), complete) << text.toStdString();
        EXPECT_EQ(s, expected) << text.toStdString();
    }
    EXPECT_TRUE(common::settingsFileBytes(std::get<2>(cases[4]))
                    .startsWith("2,4,-7\r\n300,5,6\r\n32767,-32768,12\r\n"));
}

TEST_F(SettingsFileTest, FailuresGiveTheReasonInDutchForTheUsualCauses) {
    const std::pair<int, QString> reasons[] = {{ENOSPC, u"de schijf is vol"_s},
                                               {EACCES, u"geen toestemming"_s},
                                               {EPERM, u"geen toestemming"_s},
                                               {EROFS, u"het bestandssysteem is alleen-lezen"_s},
                                               {EXDEV, QString::fromLocal8Bit(strerror(EXDEV))}};
    for (const auto& [number, reason] : reasons) {
        EXPECT_EQ(common::reasonText(number), reason) << number;
    }
    QString error;
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"Tunara.ini"_s)); // a folder where the file goes
    EXPECT_FALSE(common::SaveSettings(path(), Settings{}, &error));
    EXPECT_EQ(error, u"er staat een map met die naam"_s);
    EXPECT_FALSE(common::SaveSettings(m_dir.filePath(u"geen/Tunara.ini"_s), Settings{}, &error));
    EXPECT_EQ(error, u"het bestand of de map bestaat niet"_s);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{u"Tunara.ini"_s});
}

TEST_F(SettingsFileTest, UnwritableProgramFolderFallsBackAndSettingsAndPlaylistsAreCarriedOver) {
    const QString plain = m_dir.filePath(u"plain"_s), fallback = m_dir.filePath(u"data/Tunara"_s);
    writeFile(plain, "x");
    EXPECT_EQ(app::resolveProgramFolder(m_dir.path(), fallback), m_dir.path());
    EXPECT_FALSE(QDir(fallback).exists());
    // No one can create files below a plain file, not even the superuser.
    EXPECT_FALSE(app::isWritableFolder(plain) || app::isWritableFolder(QString()));
    EXPECT_EQ(app::resolveProgramFolder(plain + u"/bin"_s, fallback), fallback);
    EXPECT_TRUE(app::isWritableFolder(fallback));
    EXPECT_EQ(app::resolveProgramFolder(plain + u"/a"_s, plain + u"/b"_s),
              plain + u"/a"_s); // nothing writable

    // Settings are carried over only when the new folder has none; every stored playlist is
    // copied (the files beside the program stay), one saved here under the same name is kept, and one the
    // user deleted here does not come back.
    const auto lst = [](const QString& f, const QString& name) {
        return playlist::playlistFilePath(f, name);
    };
    ASSERT_TRUE(QDir().mkpath(playlist::playlistFolder(m_dir.path())) &&
                QDir().mkpath(playlist::playlistFolder(fallback)));
    writeFile(common::settingsFilePath(m_dir.path()), "1,2,3\r\n");
    for (const QString& name : {u"Jazz"_s, u"Rock"_s, u"Zang"_s}) {
        writeFile(lst(m_dir.path(), name), name.toUtf8());
    }
    writeFile(lst(fallback, u"Rock"_s), "mine");
    writeFile(lst(fallback, u"Nieuw"_s), "later");
    app::carryOverProgramFiles(m_dir.path(), fallback);
    EXPECT_EQ(readFile(common::settingsFilePath(fallback)), "1,2,3\r\n");
    EXPECT_EQ(playlist::storedPlaylistNames(fallback),
              QStringList({u"Jazz"_s, u"Nieuw"_s, u"Rock"_s, u"Zang"_s}));
    EXPECT_EQ(readFile(lst(fallback, u"Jazz"_s)), "Jazz");
    EXPECT_EQ(readFile(lst(fallback, u"Rock"_s)), "mine");
    EXPECT_EQ(playlist::storedPlaylistNames(m_dir.path()).size(), 3);

    writeFile(common::settingsFilePath(fallback), "mine");
    ASSERT_TRUE(QFile::remove(lst(fallback, u"Zang"_s)));
    writeFile(lst(m_dir.path(), u"Blues"_s), "Blues");
    app::carryOverProgramFiles(m_dir.path(), fallback);
    EXPECT_EQ(readFile(common::settingsFilePath(fallback)), "mine");
    EXPECT_EQ(playlist::storedPlaylistNames(fallback),
              QStringList({u"Blues"_s, u"Jazz"_s, u"Nieuw"_s, u"Rock"_s}));
}

} // namespace
