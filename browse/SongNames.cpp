#include "browse/SongNames.h"

namespace browse {

QString tellerText(int count) {
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" Song gevonden...") : QStringLiteral(" Songs gevonden..."));
}

QString unreadableText(int count) {
    return count == 1 ? QStringLiteral("1 bestand met een onleesbare naam overgeslagen.")
                      : QStringLiteral("%1 bestanden met een onleesbare naam overgeslagen.").arg(count);
}

QString displayName(const QString& fileName) {
    return fileName.size() > 4 ? fileName.first(fileName.size() - 4) : QString();
}

QString fullPath(const QString& folder, const QString& fileName) {
    QString path;
    path.reserve(folder.size() + 1 + fileName.size());
    path.append(folder).append(u'/').append(fileName);
    return path;
}

} // namespace browse
