#include "common/TextFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

namespace {

// Windows-1252 0x80..0x9F; 0 marks the unassigned bytes (decoded as the C1 control of the same value).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

QString decodeWindows1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        char16_t u = b;
        if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0) {
            u = kHighControls[b - 0x80];
        }
        *d++ = QChar(u);
    }
    return out;
}

QString decodeText(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    // The mark says the file was meant as UTF-8; it is no text of the file either way.
    if (view.startsWith("\xEF\xBB\xBF")) {
        view = view.sliced(3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError()) {
        return text;
    }
    // CR and LF are single bytes in both encodings and never part of a UTF-8 sequence, so the
    // lines can be told apart before their encoding is known.
    text.clear();
    text.reserve(view.size());
    qsizetype pos = 0;
    while (pos < view.size()) {
        qsizetype end = pos;
        while (end < view.size() && view[end] != '\r' && view[end] != '\n') {
            ++end;
        }
        const QByteArrayView line = view.sliced(pos, end - pos);
        utf8.resetState();
        const QString decoded = utf8.decode(line);
        text += utf8.hasError() ? decodeWindows1252(line) : decoded;
        if (end < view.size()) {
            text += QLatin1Char(view[end]);
            ++end;
        }
        pos = end;
    }
    return text;
}

QByteArray encodeText(const QString& text) {
    return text.toUtf8();
}

QString reasonText(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("de schijf is vol");
    case EDQUOT:
        return QStringLiteral("de schijfruimte van deze gebruiker is op");
    case EACCES:
    case EPERM:
        return QStringLiteral("geen toestemming");
    case EROFS:
        return QStringLiteral("het bestandssysteem is alleen-lezen");
    case ENOENT:
        return QStringLiteral("het bestand of de map bestaat niet");
    case EISDIR:
        return QStringLiteral("er staat een map met die naam");
    case ENOTDIR:
        return QStringLiteral("een deel van het pad is geen map");
    case EFBIG:
        return QStringLiteral("het bestand wordt te groot");
    case ENAMETOOLONG:
        return QStringLiteral("de naam is te lang");
    case EIO:
        return QStringLiteral("het apparaat meldt een lees- of schrijffout");
    default:
        return qt_error_string(errorNumber);
    }
}

namespace {

// Opens without blocking (a pipe would wait for a writer) and follows links.
int readRegular(const QByteArray& path, QByteArray& bytes, qint64 maxBytes, bool& notRegular) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return errno;
    }
    struct stat info {};
    int failure = ::fstat(fd, &info) == 0 ? 0 : errno;
    if (failure == 0 && S_ISDIR(info.st_mode)) {
        failure = EISDIR;
    } else if (failure == 0 && !S_ISREG(info.st_mode)) {
        notRegular = true;
        failure = EINVAL;
    }
    const qint64 limit = maxBytes < 0 ? std::numeric_limits<qsizetype>::max() : maxBytes;
    if (failure == 0) {
        bytes.clear();
        bytes.reserve(qsizetype(std::min<qint64>(info.st_size, limit)));
    }
    char buffer[65536];
    while (failure == 0 && bytes.size() < limit) {
        const ssize_t n = ::read(fd, buffer, size_t(std::min<qint64>(sizeof buffer, limit - bytes.size())));
        if (n < 0 && errno != EINTR) {
            failure = errno;
        } else if (n == 0) {
            break;
        } else if (n > 0) {
            bytes.append(buffer, n);
        }
    }
    ::close(fd);
    return failure;
}

// errno of the first step that failed, 0 when the file was replaced.
int replaceFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo link(path);
    const QByteArray target = QFile::encodeName(link.isSymLink() ? link.symLinkTarget() : path);
    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode)) {
        return EISDIR;
    }
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        const quint32 suffix = QRandomGenerator::global()->bounded(quint32(0x1000000));
        temp = target + '.' + QByteArray::number(suffix, 16).rightJustified(6, '0');
        // 0666 less the umask, as for any new file; a replaced file keeps its own bits below.
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return errno;
        }
    }
    if (fd < 0) {
        return EEXIST;
    }
    if (replacing && S_ISREG(old.st_mode)) {
        (void)::fchmod(fd, old.st_mode & 07777); // a file we cannot give its bits still holds the text
    }
    int failure = 0;
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (failure == 0 && left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno != EINTR) {
            failure = errno;
        } else if (n == 0) {
            failure = ENOSPC;
        } else if (n > 0) {
            data += n;
            left -= n;
        }
    }
    // A file system that cannot sync (EINVAL) still holds what was written.
    if (failure == 0 && ::fsync(fd) != 0 && errno != EINVAL) {
        failure = errno;
    }
    if (::close(fd) != 0 && failure == 0 && errno != EINTR) {
        failure = errno;
    }
    if (failure == 0 && ::rename(temp.constData(), target.constData()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(temp.constData());
    }
    return failure;
}

} // namespace

bool readFile(const QString& path, QByteArray& bytes, QString* error, qint64 maxBytes) {
    bool notRegular = false;
    const int failure = readRegular(QFile::encodeName(path), bytes, maxBytes, notRegular);
    if (failure != 0 && error) {
        *error = notRegular ? QStringLiteral("het is geen gewoon bestand") : reasonText(failure);
    }
    return failure == 0;
}

bool writeAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    const int failure = replaceFile(path, bytes);
    if (failure != 0 && error) {
        *error = reasonText(failure);
    }
    return failure == 0;
}

} // namespace common
