#include "app/SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const QByteArray kDefaultFile = "200,230,230\r\n"
                                "230,230,200\r\n"
                                "190,190,200\r\n"
                                "100,70,40\r\n"
                                "\"Tunara 1\"\r\n"
                                "\"Hier kan uw reclame tekst staan...\"\r\n"
                                "\"\"\r\n"
                                "\"C:/mp3\"\r\n";

class SettingsFileTest : public ::testing::Test {
protected:
    QString path() const { return settingsFilePath(m_dir.path()); }

    void writeRaw(const QByteArray& bytes) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QByteArray readRaw() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A record whose every field differs from the defaults, to see which fields a read replaced.
    static Settings marked() {
        Settings s;
        s.leftColour = {1, 2, 3};
        s.rightColour = {4, 5, 6};
        s.infoBarColour = {7, 8, 9};
        s.textColour = {10, 11, 12};
        s.reservedText = QStringLiteral("r");
        s.advertText = QStringLiteral("a");
        s.logoPath = QStringLiteral("l");
        s.searchFolder = QStringLiteral("s");
        return s;
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsFileTest, DefaultsAreWrittenAsTheEightLines) {
    ASSERT_TRUE(SaveSettings(path(), Settings{}));
    EXPECT_EQ(readRaw(), kDefaultFile);
    EXPECT_EQ(settingsFilePath(QStringLiteral("/opt/x")), QStringLiteral("/opt/x/Tunara.ini"));
}

TEST_F(SettingsFileTest, RoundTripKeepsEveryField) {
    Settings s = marked();
    s.advertText = QStringLiteral("Koop nu, want: op = op, echt waar,,");
    s.logoPath = QStringLiteral("/home/jan/Mijn foto's/logo één.png");
    s.searchFolder = QStringLiteral("  /media/usb,2/muziek");
    s.leftColour = {0, 255, 17};
    ASSERT_TRUE(SaveSettings(path(), s));
    Settings back;
    ASSERT_TRUE(LoadSettings(path(), back));
    EXPECT_EQ(back, s);
}

TEST_F(SettingsFileTest, EmptyLogoPathIsTwoQuotesAndReadsBackEmpty) {
    Settings s;
    s.logoPath.clear();
    const QByteArray bytes = settingsFileBytes(s);
    EXPECT_TRUE(bytes.contains("\r\n\"\"\r\n\"C:/mp3\"\r\n"));
    writeRaw(bytes);
    Settings back = marked();
    ASSERT_TRUE(LoadSettings(path(), back));
    EXPECT_TRUE(back.logoPath.isEmpty());
}

TEST_F(SettingsFileTest, OnlyTheColourLinesFailButKeepTheColours) {
    writeRaw("1,2,3\r\n4,5,6\r\n7,8,9\r\n10,11,12\r\n");
    Settings s;
    EXPECT_FALSE(LoadSettings(path(), s));
    const Settings defaults;
    EXPECT_EQ(s.leftColour, (ColourTriple{1, 2, 3}));
    EXPECT_EQ(s.textColour, (ColourTriple{10, 11, 12}));
    EXPECT_EQ(s.reservedText, defaults.reservedText);
    EXPECT_EQ(s.advertText, defaults.advertText);
    EXPECT_EQ(s.logoPath, defaults.logoPath);
    EXPECT_EQ(s.searchFolder, defaults.searchFolder);
}

TEST_F(SettingsFileTest, ShortFileKeepsTheFieldsReadSoFar) {
    // Ends after the advertisement text: the logo path and the search folder keep their values.
    writeRaw("1,2,3\r\n4,5,6\r\n7,8,9\r\n10,11,12\r\n\"R\"\r\n\"Reclame\"\r\n");
    Settings s = marked();
    EXPECT_FALSE(LoadSettings(path(), s));
    EXPECT_EQ(s.reservedText, QStringLiteral("R"));
    EXPECT_EQ(s.advertText, QStringLiteral("Reclame"));
    EXPECT_EQ(s.logoPath, QStringLiteral("l"));
    EXPECT_EQ(s.searchFolder, QStringLiteral("s"));

    // Part-way through the colours.
    writeRaw("9,9,9\r\n8,8");
    s = marked();
    EXPECT_FALSE(LoadSettings(path(), s));
    EXPECT_EQ(s.leftColour, (ColourTriple{9, 9, 9}));
    EXPECT_EQ(s.rightColour, (ColourTriple{8, 8, 6}));
    EXPECT_EQ(s.infoBarColour, (ColourTriple{7, 8, 9}));
}

TEST_F(SettingsFileTest, MissingOrEmptyFileFailsAndChangesNothing) {
    Settings s = marked();
    EXPECT_FALSE(LoadSettings(path(), s));
    EXPECT_EQ(s, marked());
    writeRaw("");
    EXPECT_FALSE(LoadSettings(path(), s));
    EXPECT_EQ(s, marked());
    // A folder in the file's place cannot be read either.
    EXPECT_FALSE(LoadSettings(m_dir.path(), s));
    EXPECT_EQ(s, marked());
}

TEST_F(SettingsFileTest, NamedPipeInTheFilesPlaceIsNotWaitedFor) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
    Settings s = marked();
    EXPECT_FALSE(LoadSettings(path(), s)); // would block forever if it opened the pipe
    EXPECT_EQ(s, marked());
    // Writing puts a regular file in its place.
    EXPECT_TRUE(SaveSettings(path(), Settings{}));
    EXPECT_TRUE(LoadSettings(path(), s));
}

TEST_F(SettingsFileTest, LinesAfterTheEighthAreIgnored) {
    writeRaw(kDefaultFile + "\"extra\"\r\n1,2,3\r\ngarbage");
    Settings s = marked();
    ASSERT_TRUE(LoadSettings(path(), s));
    EXPECT_EQ(s, Settings{});
}

TEST_F(SettingsFileTest, CommasAndLineEndsBothSeparateFields) {
    Settings s = marked();
    ASSERT_TRUE(parseSettingsText(QStringLiteral("200,230,230,230,230,200,190,190,200,100,70,40\r\n"
                                                 "\"Tunara 1\",\"Hier kan uw reclame tekst staan...\"\r\n"
                                                 "\"\"\r\n\"C:/mp3\""),
                                  s));
    EXPECT_EQ(s, Settings{});

    // One field per line, Unix and old Mac line ends.
    s = marked();
    ASSERT_TRUE(
        parseSettingsText(QStringLiteral("200\n230\n230\n230\r230\r200\n190\n190\n200\n100\n70\n40\n"
                                         "\"Tunara 1\"\n\"Hier kan uw reclame tekst staan...\"\n\"\"\n"
                                         "\"C:/mp3\"\n"),
                          s));
    EXPECT_EQ(s, Settings{});
}

TEST_F(SettingsFileTest, FieldRulesOfTheReader) {
    Settings s;
    // Blanks before a field are skipped; after a closing quote the rest up to the separator is
    // dropped; a quoted field runs across a line end; an unquoted text runs to the comma.
    ASSERT_TRUE(parseSettingsText(QStringLiteral("  1,\t2 , 3\r\n4,5,6\r\n7,8,9\r\n10,11,12\r\n"
                                                 "   \"res\" dropped text\r\n"
                                                 "\"twee\r\nregels\"\r\n"
                                                 "plain text, second\r\n"),
                                  s));
    EXPECT_EQ(s.leftColour, (ColourTriple{1, 2, 3}));
    EXPECT_EQ(s.reservedText, QStringLiteral("res"));
    EXPECT_EQ(s.advertText, QStringLiteral("twee\r\nregels"));
    EXPECT_EQ(s.logoPath, QStringLiteral("plain text"));
    EXPECT_EQ(s.searchFolder, QStringLiteral("second"));

    // A last quoted field without its closing quote runs to the end of the file.
    s = Settings{};
    ASSERT_TRUE(
        parseSettingsText(QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12,\"a\",\"b\",\"c\",\"open end"), s));
    EXPECT_EQ(s.searchFolder, QStringLiteral("open end"));

    // An empty line is an empty field; the end of the file right after a separator is too early.
    s = Settings{};
    EXPECT_FALSE(parseSettingsText(QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12,\"a\",\"b\",\"c\","), s));
    EXPECT_EQ(s.logoPath, QStringLiteral("c"));
}

TEST_F(SettingsFileTest, ColourFieldsThatAreNotWholeNumbers) {
    Settings s = marked();
    ASSERT_TRUE(parseSettingsText(QStringLiteral("2.5,3.5,-7\r\n"
                                                 "300,abc,\r\n"
                                                 "99999999,-1e9, +12 \r\n"
                                                 "nan,inf,0x10\r\n"
                                                 "\"\",\"\",\"\",\"\""),
                                  s));
    EXPECT_EQ(s.leftColour, (ColourTriple{2, 4, -7})); // halves to even, negatives kept
    EXPECT_EQ(s.rightColour.red, 300);                 // kept as read; the screen clamps it
    EXPECT_EQ(s.rightColour.green, 5);                 // not a number: previous value
    EXPECT_EQ(s.rightColour.blue, 6);                  // empty: previous value
    EXPECT_EQ(s.infoBarColour, (ColourTriple{32767, -32768, 12}));
    EXPECT_EQ(s.textColour, (ColourTriple{10, 11, 12}));
    EXPECT_EQ(s.reservedText, QString());

    // What is kept is written back as a plain number, with a minus sign only when negative.
    EXPECT_TRUE(settingsFileBytes(s).startsWith("2,4,-7\r\n300,5,6\r\n32767,-32768,12\r\n"));
}

TEST_F(SettingsFileTest, DoubleQuotesBecomeTypographicSoTheFileStaysReadable) {
    Settings s;
    s.reservedText = QStringLiteral("x\"y");
    s.advertText = QStringLiteral("De \"beste\" muziek, \"echt\"");
    ASSERT_TRUE(SaveSettings(path(), s));
    EXPECT_TRUE(readRaw().contains(QStringLiteral("\"De “beste” muziek, “echt”\"\r\n").toUtf8()));
    Settings back;
    ASSERT_TRUE(LoadSettings(path(), back));
    EXPECT_EQ(back.reservedText, QStringLiteral("x“y"));
    EXPECT_EQ(back.advertText, QStringLiteral("De “beste” muziek, “echt”"));
    EXPECT_EQ(back.logoPath, s.logoPath);
    EXPECT_EQ(back.searchFolder, s.searchFolder);
    EXPECT_EQ(settingsSafeText(QStringLiteral("geen quotes")), QStringLiteral("geen quotes"));
}

TEST_F(SettingsFileTest, WindowsFileIsReadAsWindows1252) {
    writeRaw("1,2,3\r\n4,5,6\r\n7,8,9\r\n10,11,12\r\n\"Tunara 1\"\r\n\"Caf\xe9 \x80 5\"\r\n"
             "\"C:\\Mijn Documenten\\logo.bmp\"\r\n\"D:\\Muziek\\Fran\xe7oise\"\r\n");
    Settings s;
    ASSERT_TRUE(LoadSettings(path(), s));
    EXPECT_EQ(s.advertText, QStringLiteral("Café € 5"));
    EXPECT_EQ(s.logoPath, QStringLiteral("C:\\Mijn Documenten\\logo.bmp"));
    EXPECT_EQ(s.searchFolder, QStringLiteral("D:\\Muziek\\Françoise"));
}

TEST_F(SettingsFileTest, ByteOrderMarkIsSkipped) {
    writeRaw("\xEF\xBB\xBF" + kDefaultFile);
    Settings s = marked();
    ASSERT_TRUE(LoadSettings(path(), s));
    EXPECT_EQ(s, Settings{});
    // Also when the rest is not UTF-8 and is read as Windows-1252: the first colour is read.
    writeRaw("\xEF\xBB\xBF"
             "9,8,7\r\n" +
             kDefaultFile.mid(13) + "\"Caf\xe9\"\r\n");
    s = marked();
    ASSERT_TRUE(LoadSettings(path(), s));
    EXPECT_EQ(s.leftColour, (ColourTriple{9, 8, 7}));
}

TEST_F(SettingsFileTest, SavingIntoAMissingFolderFailsAndSaysWhy) {
    QString error;
    EXPECT_FALSE(SaveSettings(m_dir.path() + QStringLiteral("/nope/Tunara.ini"), Settings{}, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(SettingsFileTest, HugeFileIsReadFromItsStart) {
    QByteArray bytes = kDefaultFile;
    bytes += QByteArray(3 * 1024 * 1024, 'x');
    writeRaw(bytes);
    Settings s = marked();
    ASSERT_TRUE(LoadSettings(path(), s));
    EXPECT_EQ(s, Settings{});
}

} // namespace
