#include "songinfo/Genres.h"
#include "songinfo/Id3v1Tag.h"
#include "songinfo/Mp3InfoText.h"
#include "songinfo/PlayTime.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <sys/stat.h>

namespace {

QLocale dutch() {
    return QLocale(QLocale::Dutch, QLocale::Netherlands);
}

// A 128-byte tag; text fields are written as given, padded to their width with `pad`.
QByteArray tagBytes(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                    const QByteArray& year, int genre, char pad = ' ', const QByteArray& id = "TAG") {
    auto field = [pad](QByteArray v, int width) {
        v.truncate(width);
        return v + QByteArray(width - v.size(), pad);
    };
    QByteArray t = id + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
                   field("a comment", 30) + QByteArray(1, static_cast<char>(genre));
    return t;
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

TEST(PlayTime, RoundsTheDurationBeforeTakingWholeMinutes) {
    EXPECT_EQ(splitPlayTime(59.6), (PlayTime{1, 0}));
    EXPECT_EQ(splitPlayTime(60.0), (PlayTime{1, 0}));
    EXPECT_EQ(splitPlayTime(61.4), (PlayTime{1, 1}));
    EXPECT_EQ(splitPlayTime(245.3), (PlayTime{4, 5}));
    EXPECT_EQ(splitPlayTime(59.4), (PlayTime{0, 59}));
    // Halves go to the even neighbour, both for the whole and for the seconds left over.
    EXPECT_EQ(splitPlayTime(119.5), (PlayTime{2, 0}));
    EXPECT_EQ(splitPlayTime(89.5), (PlayTime{1, 30}));
    EXPECT_EQ(splitPlayTime(90.5), (PlayTime{1, 30}));
    EXPECT_EQ(splitPlayTime(3599.7), (PlayTime{60, 0}));
}

TEST(PlayTime, NonsenseDurationsGiveZeroAndNeverOverflow) {
    EXPECT_EQ(splitPlayTime(0.0), (PlayTime{0, 0}));
    EXPECT_EQ(splitPlayTime(-3.0), (PlayTime{0, 0}));
    EXPECT_EQ(splitPlayTime(std::nan("")), (PlayTime{0, 0}));
    const PlayTime huge = splitPlayTime(1e300);
    EXPECT_GE(huge.seconds, 0);
    EXPECT_LT(huge.seconds, 60);
    const PlayTime inf = splitPlayTime(std::numeric_limits<double>::infinity());
    EXPECT_GE(inf.seconds, 0);
    EXPECT_LT(inf.seconds, 60);
}

TEST(ByteCount, GroupsThousandsWithTheLocaleSeparator) {
    EXPECT_EQ(formatByteCount(0, dutch()), QStringLiteral("0"));
    EXPECT_EQ(formatByteCount(999, dutch()), QStringLiteral("999"));
    EXPECT_EQ(formatByteCount(1000, dutch()), QStringLiteral("1.000"));
    EXPECT_EQ(formatByteCount(123456, dutch()), QStringLiteral("123.456"));
    EXPECT_EQ(formatByteCount(4321987, dutch()), QStringLiteral("4.321.987"));
    EXPECT_EQ(formatByteCount(12345678901LL, dutch()), QStringLiteral("12.345.678.901"));
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(formatByteCount(4321987, us), QStringLiteral("4,321,987"));
    // Groups stay three wide even where the locale groups otherwise (lakh grouping).
    const QLocale india(QLocale::Hindi, QLocale::India);
    EXPECT_EQ(formatByteCount(4321987, india), QStringLiteral("4") + india.groupSeparator() +
                                                   QStringLiteral("321") + india.groupSeparator() +
                                                   QStringLiteral("987"));
    EXPECT_EQ(formatByteCount(-5, dutch()), QStringLiteral("0"));
}

TEST(PlayTimeText, InfoLineForAMeasuredSong) {
    EXPECT_EQ(playTimeAndSizeText(245.3, 4321987, dutch()),
              QStringLiteral("Speeltijd is 4 min. en 05 sec. / Grootte is 4.321.987 bytes"));
    EXPECT_EQ(playTimeAndSizeText(59.6, 812, dutch()),
              QStringLiteral("Speeltijd is 1 min. en 00 sec. / Grootte is 812 bytes"));
    EXPECT_TRUE(unreadableSongText(2048, dutch()).endsWith(QStringLiteral("/ Grootte is 2.048 bytes")));
    EXPECT_EQ(missingSongText(QStringLiteral("a.mp3")), QStringLiteral("Bestand niet gevonden: a.mp3"));
}

TEST(Id3v1Reader, ReadsTheLastBytesOfTheFileOnly) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    // Exactly 128 bytes: the tag starts at the first byte.
    const QString exact = dir.filePath(QStringLiteral("exact.mp3"));
    ASSERT_TRUE(writeBytes(exact, tagBytes("Title", "Artist", "Album", "1999", 17)));
    Id3v1Tag tag;
    ASSERT_TRUE(ReadId3Tag(exact, tag));
    EXPECT_EQ(tag.identifier, QByteArray("TAG"));
    EXPECT_EQ(tag.title, QByteArray("Title") + QByteArray(25, ' '));
    EXPECT_EQ(tag.year, QByteArray("1999"));
    EXPECT_EQ(tag.comment.left(9), QByteArray("a comment"));
    EXPECT_EQ(tag.genre, 17);

    // Audio before the tag, with "TAG" inside the audio: only the last 128 bytes count.
    const QString longer = dir.filePath(QStringLiteral("longer.mp3"));
    ASSERT_TRUE(writeBytes(longer, QByteArray("TAGxxxxx") + QByteArray(5000, '\xff') +
                                       tagBytes("Real", "B", "C", "2001", 255)));
    ASSERT_TRUE(ReadId3Tag(longer, tag));
    EXPECT_EQ(tag.title.left(4), QByteArray("Real"));
    EXPECT_EQ(tag.genre, 255);

    // 127 bytes is too short, even with "TAG" at its start.
    const QString shortFile = dir.filePath(QStringLiteral("short.mp3"));
    ASSERT_TRUE(writeBytes(shortFile, tagBytes("T", "A", "B", "1", 1).left(127)));
    // The tag exists in the first bytes of a longer file, but not at its end.
    const QString early = dir.filePath(QStringLiteral("early.mp3"));
    ASSERT_TRUE(writeBytes(early, tagBytes("T", "A", "B", "1", 1) + QByteArray(10, 'x')));

    const Id3v1Tag before = tag;
    EXPECT_FALSE(ReadId3Tag(shortFile, tag));
    EXPECT_FALSE(ReadId3Tag(early, tag));
    EXPECT_FALSE(ReadId3Tag(dir.filePath(QStringLiteral("missing.mp3")), tag));
    EXPECT_FALSE(ReadId3Tag(dir.path(), tag));
    EXPECT_FALSE(ReadId3Tag(QString(), tag));
    EXPECT_EQ(tag, before) << "a failed read must leave the record alone";
}

TEST(Id3v1Reader, IdentifierIsCaseSensitive) {
    QTemporaryDir dir;
    const QString lower = dir.filePath(QStringLiteral("lower.mp3"));
    ASSERT_TRUE(writeBytes(lower, tagBytes("T", "A", "B", "1", 1, ' ', "tag")));
    const QString mixed = dir.filePath(QStringLiteral("mixed.mp3"));
    ASSERT_TRUE(writeBytes(mixed, tagBytes("T", "A", "B", "1", 1, ' ', "Tag")));
    Id3v1Tag tag;
    EXPECT_FALSE(ReadId3Tag(lower, tag));
    EXPECT_FALSE(ReadId3Tag(mixed, tag));
}

TEST(Id3v1Reader, NamedPipeIsRefusedWithoutBlocking) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.mp3"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    Id3v1Tag tag;
    EXPECT_FALSE(ReadId3Tag(fifo, tag));
}

TEST(Id3v1Reader, TrackNumberStaysPartOfTheComment) {
    QByteArray bytes = tagBytes("T", "A", "B", "2000", 8);
    bytes[125] = '\0';
    bytes[126] = '\x07';
    Id3v1Tag tag;
    ASSERT_TRUE(Id3v1Tag::parse(bytes, tag));
    EXPECT_EQ(tag.comment.size(), 30);
    EXPECT_EQ(tag.comment.at(29), '\x07');
    EXPECT_EQ(tag.genre, 8);
    EXPECT_FALSE(Id3v1Tag::parse(bytes.left(127), tag));
}

TEST(Genres, TableKeepsTheProgramsOwnSpellings) {
    const QStringList table = Genres::table();
    ASSERT_EQ(table.size(), 148);
    EXPECT_EQ(table.first(), QStringLiteral("Blues"));
    EXPECT_EQ(table.last(), QStringLiteral("Synth Pop"));
    EXPECT_EQ(Genres::name(17), QStringLiteral("Rock"));
    EXPECT_EQ(Genres::name(14), QStringLiteral("R&B"));
    EXPECT_EQ(Genres::name(40), QStringLiteral("Alt. Rock"));
    EXPECT_EQ(Genres::name(62), QStringLiteral("Pop/Punk"));
    EXPECT_EQ(Genres::name(67), QStringLiteral("Phychedelic"));
    EXPECT_EQ(Genres::name(81), QStringLiteral("Folk/Rock"));
    EXPECT_EQ(Genres::name(90), QStringLiteral("Avantegarde"));
    EXPECT_EQ(Genres::name(117), QStringLiteral("power Ballad"));
    EXPECT_EQ(Genres::name(131), QStringLiteral("indie"));
    EXPECT_EQ(Genres::name(133), QStringLiteral("Negerpunk"));
    EXPECT_EQ(Genres::name(140), QStringLiteral("Comteporary Christian"));
    EXPECT_EQ(Genres::name(144), QStringLiteral("Trash Metal"));
    EXPECT_EQ(Genres::name(147), QStringLiteral("Synth Pop"));
    EXPECT_TRUE(Genres::name(148).isNull());
    EXPECT_TRUE(Genres::name(255).isNull());
    EXPECT_TRUE(Genres::name(-1).isNull());
    for (const QString& name : table) {
        EXPECT_FALSE(name.isEmpty());
        EXPECT_EQ(name, name.trimmed());
    }
}

TEST(Mp3InfoBox, LinesWithTheirOwnDotCounts) {
    Id3v1Tag tag;
    ASSERT_TRUE(Id3v1Tag::parse(tagBytes("Song", "Band", "Record", "1987", 17), tag));
    const QStringList lines = Mp3InfoText::lines(tag, 61.4);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("Titel.........: Song") + QString(26, QLatin1Char(' ')));
    EXPECT_EQ(lines[1], QStringLiteral("Artist........: Band") + QString(26, QLatin1Char(' ')));
    EXPECT_EQ(lines[2], QStringLiteral("Album.......: Record") + QString(24, QLatin1Char(' ')));
    EXPECT_EQ(lines[3], QStringLiteral("Jaar.........: 1987"));
    EXPECT_EQ(lines[4], QStringLiteral("Genre.......: Rock"));
    EXPECT_EQ(lines[5], QStringLiteral("Lengte......: 1 min. en 01 sec."));
    EXPECT_EQ(Mp3InfoText::text(tag, 61.4), lines.join(QStringLiteral("\r\n")));
    EXPECT_FALSE(Mp3InfoText::text(tag, 61.4).endsWith(QLatin1Char('\n')));
    EXPECT_EQ(Mp3InfoText::kTitle, QStringLiteral(" Mp3 informatie"));
}

TEST(Mp3InfoBox, GenreLineOnlyForNamedGenres) {
    Id3v1Tag tag;
    for (int genre : {148, 200, 255}) {
        ASSERT_TRUE(Id3v1Tag::parse(tagBytes("S", "B", "R", "2020", genre), tag));
        const QStringList lines = Mp3InfoText::lines(tag, 10.0);
        ASSERT_EQ(lines.size(), 5) << genre;
        EXPECT_TRUE(lines[3].startsWith(QStringLiteral("Jaar")));
        EXPECT_TRUE(lines[4].startsWith(QStringLiteral("Lengte......: ")));
    }
    ASSERT_TRUE(Id3v1Tag::parse(tagBytes("S", "B", "R", "2020", 147), tag));
    EXPECT_EQ(Mp3InfoText::lines(tag, 10.0).at(4), QStringLiteral("Genre.......: Synth Pop"));
    ASSERT_TRUE(Id3v1Tag::parse(tagBytes("S", "B", "R", "2020", 0), tag));
    EXPECT_EQ(Mp3InfoText::lines(tag, 10.0).at(4), QStringLiteral("Genre.......: Blues"));
}

TEST(Mp3InfoBox, NulPaddingAndControlBytesNeitherCutNorSplitLines) {
    Id3v1Tag tag;
    QByteArray bytes = tagBytes("Abc", "Line\r\nBreak", "Caf\xe9", "19", 255, '\0');
    ASSERT_TRUE(Id3v1Tag::parse(bytes, tag));
    const QString text = Mp3InfoText::text(tag, 59.6);
    EXPECT_FALSE(text.contains(QChar(0)));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("Titel.........: Abc") + QString(27, QLatin1Char(' ')));
    EXPECT_EQ(lines[1], QStringLiteral("Artist........: Line  Break") + QString(19, QLatin1Char(' ')));
    // Latin-1, the format's own code page.
    EXPECT_EQ(lines[2], QStringLiteral("Album.......: Caf\u00e9") + QString(26, QLatin1Char(' ')));
    EXPECT_EQ(lines[3], QStringLiteral("Jaar.........: 19  "));
    EXPECT_EQ(lines[4], QStringLiteral("Lengte......: 1 min. en 00 sec."));
}
