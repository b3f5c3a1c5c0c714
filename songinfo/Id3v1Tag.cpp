#include "songinfo/Id3v1Tag.h"

#include <QFile>
#include <QFileInfo>

bool Id3v1Tag::parse(const QByteArray& bytes, Id3v1Tag& tag) {
    if (bytes.size() != kSize || !bytes.startsWith("TAG")) {
        return false;
    }
    Id3v1Tag t;
    t.identifier = bytes.mid(0, 3);
    t.title = bytes.mid(3, 30);
    t.artist = bytes.mid(33, 30);
    t.album = bytes.mid(63, 30);
    t.year = bytes.mid(93, 4);
    t.comment = bytes.mid(97, 30);
    t.genre = static_cast<unsigned char>(bytes.at(127));
    tag = t;
    return true;
}

QString Id3v1Tag::fieldText(const QByteArray& field) {
    QString text = QString::fromLatin1(field);
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            c = QLatin1Char(' ');
        }
    }
    return text;
}

bool songinfo::ReadId3Tag(const QString& path, Id3v1Tag& tag) {
    // Only regular files: opening a named pipe would block, and a folder has no tag.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return false;
    }
    const qint64 size = file.size();
    if (size < Id3v1Tag::kSize || !file.seek(size - Id3v1Tag::kSize)) {
        return false;
    }
    const QByteArray bytes = file.read(Id3v1Tag::kSize);
    return Id3v1Tag::parse(bytes, tag);
}
