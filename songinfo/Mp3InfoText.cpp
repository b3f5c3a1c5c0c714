#include "songinfo/Mp3InfoText.h"

#include "songinfo/Genres.h"
#include "songinfo/PlayTime.h"

namespace songinfo {

QStringList infoLines(const Id3v1Tag& tag, std::optional<double> durationSeconds) {
    QStringList out;
    out << QStringLiteral("Titel.........: ") + Id3v1Tag::fieldText(tag.title);
    out << QStringLiteral("Artist........: ") + Id3v1Tag::fieldText(tag.artist);
    out << QStringLiteral("Album.......: ") + Id3v1Tag::fieldText(tag.album);
    out << QStringLiteral("Jaar.........: ") + Id3v1Tag::fieldText(tag.year);
    const QString genre = songinfo::genreName(tag.genre);
    if (!genre.isNull()) {
        out << QStringLiteral("Genre.......: ") + genre;
    }
    if (durationSeconds) {
        out << QStringLiteral("Lengte......: ") +
                   songinfo::playTimeWords(songinfo::splitPlayTime(*durationSeconds)) +
                   QStringLiteral(" sec.");
    }
    return out;
}

QString infoText(const Id3v1Tag& tag, std::optional<double> durationSeconds) {
    return infoLines(tag, durationSeconds).join(QStringLiteral("\r\n"));
}

} // namespace songinfo
