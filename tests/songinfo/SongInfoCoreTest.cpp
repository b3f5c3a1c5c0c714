#include "songinfo/Genres.h"
#include "songinfo/Id3v1Tag.h"
#include "songinfo/Mp3InfoText.h"
#include "songinfo/PlayTime.h"
#include "support/Fixtures.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <sys/stat.h>

namespace {

// A 128-byte tag; text fields padded to their width with `pad`.
QByteArray tagBytes(const QByteArray& title, const QByteArray& artist, const QByteArray& year, int genre,
                    char pad = ' ', const QByteArray& id = "TAG") {
    auto field = [pad](const QByteArray& v, int width) { return v.leftJustified(width, pad, true); };
    return id + field(title, 30) + field(artist, 30) + field("Caf\xe9", 30) + field(year, 4) +
           field("a comment", 30) + QByteArray(1, static_cast<char>(genre));
}

QString blanks(int n) {
    return QString(n, u' ');
}

} // namespace

TEST(PlayTimeAndSize, RoundTheDurationBeforeTakingWholeMinutesAndGroupBytesByTheLocale) {
    const std::pair<double, PlayTime> cases[] = {
        {59.6, {1, 0}},  {61.4, {1, 1}},  {59.4, {0, 59}}, {245.3, {4, 5}}, {119.5, {2, 0}},
        {89.5, {1, 30}}, {90.5, {1, 30}}, {0.0, {0, 0}},   {-3.0, {0, 0}},  {std::nan(""), {0, 0}}};
    for (const auto& [seconds, time] : cases) {
        EXPECT_EQ(songinfo::splitPlayTime(seconds), time) << seconds;
    }
    for (double huge : {1e300, std::numeric_limits<double>::infinity()}) {
        EXPECT_TRUE(songinfo::splitPlayTime(huge).seconds >= 0 && songinfo::splitPlayTime(huge).seconds < 60);
    }
    const QLocale dutch(QLocale::Dutch, QLocale::Netherlands);
    EXPECT_EQ(
        QStringList({songinfo::formatByteCount(999, dutch), songinfo::formatByteCount(1000, dutch),
                     songinfo::formatByteCount(12345678901LL, dutch), songinfo::formatByteCount(-5, dutch),
                     songinfo::formatByteCount(4321987, QLocale(QLocale::English, QLocale::UnitedStates))}),
        QStringList({"999", "1.000", "12.345.678.901", "0", "4,321,987"}));
    const QLocale india(QLocale::Hindi, QLocale::India); // groups by two there
    EXPECT_EQ(songinfo::formatByteCount(4321987, india),
              (QStringList{"4", "321", "987"}.join(india.groupSeparator())));
}

TEST(Id3v1Reader, ReadsOnlyAnExactTagInTheLast128Bytes) {
    QTemporaryDir dir;
    auto write = [&](const char* name, const QByteArray& bytes) {
        EXPECT_TRUE(fixtures::writeFile(dir.filePath(QLatin1String(name)), bytes));
        return dir.filePath(QLatin1String(name));
    };
    Id3v1Tag tag;
    ASSERT_TRUE(songinfo::ReadId3Tag(write("exact.mp3", tagBytes("Title", "Artist", "1999", 17)), tag));
    EXPECT_EQ(std::tuple(tag.title, tag.year, tag.comment.left(9), tag.genre),
              std::tuple(QByteArray("Title") + QByteArray(25, ' '), QByteArray("1999"),
                         QByteArray("a comment"), 17));
    ASSERT_TRUE(songinfo::ReadId3Tag(
        write("longer.mp3", "TAGxxxxx" + QByteArray(5000, '\xff') + tagBytes("Real", "B", "2001", 255)),
        tag));
    EXPECT_EQ(std::pair(tag.title.left(4), tag.genre), std::pair(QByteArray("Real"), 255));

    const Id3v1Tag before = tag;
    const QString fifo = dir.filePath("pipe.mp3");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {write("short.mp3", tagBytes("T", "A", "1", 1).left(127)),
                                write("early.mp3", tagBytes("T", "A", "1", 1) + "xx"),
                                write("lower.mp3", tagBytes("T", "A", "1", 1, ' ', "tag")),
                                write("mixed.mp3", tagBytes("T", "A", "1", 1, ' ', "Tag")),
                                dir.filePath("missing.mp3"), dir.path(), fifo}) {
        EXPECT_FALSE(songinfo::ReadId3Tag(path, tag)) << path.toStdString();
    }
    EXPECT_EQ(tag, before) << "a failed read must leave the record alone";
}

TEST(Mp3InfoBox, GenresKeepTheProgramsSpellingsFieldsStayUntrimmedAndOnlyNamedGenresGetALine) {
    ASSERT_EQ(songinfo::genreTable().size(), 148);
    const std::pair<int, const char*> names[] = {{0, "Blues"},          {67, "Phychedelic"},
                                                 {117, "power Ballad"}, {147, "Synth Pop"},
                                                 {148, nullptr},        {-1, nullptr}};
    for (const auto& [number, name] : names) {
        EXPECT_EQ(songinfo::genreName(number), name ? QString::fromLatin1(name) : QString()) << number;
    }
    Id3v1Tag tag;
    ASSERT_TRUE(Id3v1Tag::parse(tagBytes("Song", "Band", "1987", 17), tag));
    EXPECT_EQ(songinfo::infoText(tag, 61.4),
              (QStringList{"Titel.........: Song" + blanks(26), "Artist........: Band" + blanks(26),
                           "Album.......: Caf\u00e9" + blanks(26), "Jaar.........: 1987",
                           "Genre.......: Rock", "Lengte......: 1 min. en 01 sec."})
                  .join("\r\n"));
    for (int genre : {148, 255}) {
        // NUL padding and line breaks inside a field become blanks: no line is cut or split.
        ASSERT_TRUE(Id3v1Tag::parse(tagBytes("Abc", "Line\r\nBreak", "19", genre, '\0'), tag));
        EXPECT_EQ(songinfo::infoLines(tag, 59.6),
                  (QStringList{"Titel.........: Abc" + blanks(27), "Artist........: Line  Break" + blanks(19),
                               "Album.......: Caf\u00e9" + blanks(26), "Jaar.........: 19  ",
                               "Lengte......: 1 min. en 00 sec."}))
            << "no genre line for " << genre;
    }
}
