#include "search/SearchRules.h"

#include <QFileInfo>

namespace search {

QStringList instructionLines() {
    return {
        QString(),
        QStringLiteral(" 1. Selecteer met de button - Path - de map waarin de Mp3 bestanden staan,"),
        QStringLiteral(" 2. Typ een trefwoord in van minimaal 3 tekens."),
        QStringLiteral(" 3. Druk op de button Start om het zoeken te beginnen."),
        QStringLiteral(
            " 4. Selecteer de gevonden bestanden door dubbel op \u00e9\u00e9n bestand te klikken,"),
        QStringLiteral("     of druk op de button - Select all - om ze allemaal te selecteren."),
        QStringLiteral(" 5. Sluit dit venster met de button - Exit -"),
    };
}

bool keywordAccepted(const QString& keyword) {
    return keyword.size() >= 3 && keyword.toLower() != QLatin1String("mp3");
}

QString foundCaption(qsizetype found, qint32 total) {
    return QStringLiteral(" Found %1 files of %2").arg(found).arg(total);
}

QString folderFromCaption(const QString& caption) {
    // A folder's name may begin or end with a blank: the caption's own leading blank aside, such a
    // folder is taken as it stands.
    if (caption.startsWith(QLatin1Char(' ')) && caption.size() > 1) {
        const QString untrimmed = caption.mid(1);
        if (untrimmed != untrimmed.trimmed() && QFileInfo(untrimmed).isDir()) {
            return untrimmed;
        }
    }
    qsizetype begin = 0;
    qsizetype end = caption.size();
    while (begin < end && caption.at(begin) == QLatin1Char(' ')) {
        ++begin;
    }
    while (end > begin && caption.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    return caption.mid(begin, end - begin);
}

QString captionForFolder(const QString& folder) {
    return QLatin1Char(' ') + folder;
}

QString displayName(const QString& fileName) {
    return fileName.left(qMax<qsizetype>(0, fileName.size() - 4));
}

} // namespace search
