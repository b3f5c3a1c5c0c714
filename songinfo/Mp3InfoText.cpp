#include "songinfo/Mp3InfoText.h"

#include "songinfo/Genres.h"
#include "songinfo/PlayTime.h"

namespace Mp3InfoText {

QStringList lines(const Id3v1Tag& tag, std::optional<double> durationSeconds) {
    QStringList out;
    out << QStringLiteral("Titel.........: ") + Id3v1Tag::fieldText(tag.title);
    out << QStringLiteral("Artist........: ") + Id3v1Tag::fieldText(tag.artist);
    out << QStringLiteral("Album.......: ") + Id3v1Tag::fieldText(tag.album);
    out << QStringLiteral("Jaar.........: ") + Id3v1Tag::fieldText(tag.year);
    const QString genre = Genres::name(tag.genre);
    if (!genre.isNull()) {
        out << QStringLiteral("Genre.......: ") + genre;
    }
    if (durationSeconds) {
        out << QStringLiteral("Lengte......: ") + playTimeWords(splitPlayTime(*durationSeconds)) +
                   QStringLiteral(" sec.");
    }
    return out;
}

QString text(const Id3v1Tag& tag, std::optional<double> durationSeconds) {
    return lines(tag, durationSeconds).join(QStringLiteral("\r\n"));
}

} // namespace Mp3InfoText
