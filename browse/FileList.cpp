#include "browse/FileList.h"

#include "browse/NameOrder.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace FileList {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool endsWith(const char* name, qsizetype length, const QByteArray& suffix, bool ignoreCase) {
    if (length <= suffix.size()) {
        return false;
    }
    const char* tail = name + (length - suffix.size());
    for (qsizetype i = 0; i < suffix.size(); ++i) {
        const char c = ignoreCase ? asciiLower(tail[i]) : tail[i];
        if (c != suffix[i]) {
            return false;
        }
    }
    return true;
}

// Why a folder could not be read, for a message to the user.
QString reason(int code) {
    switch (code) {
    case ENOENT:
        return QStringLiteral("de map bestaat niet");
    case EACCES:
    case EPERM:
        return QStringLiteral("geen toegang");
    case ENOTDIR:
        return QStringLiteral("dit is geen map");
    case ENOMEDIUM:
        return QStringLiteral("er zit geen medium in");
    case EIO:
        return QStringLiteral("leesfout");
    default:
        return QString::fromLocal8Bit(std::strerror(code));
    }
}

// Closes the directory stream on every way out.
struct DirCloser {
    DIR* dir;
    ~DirCloser() {
        if (dir) {
            closedir(dir);
        }
    }
};

} // namespace

Filter songFilter() {
    return Filter{{QByteArrayLiteral(".mp3"), QByteArrayLiteral(".mid")}, true, false};
}

bool nameMatches(const char* name, qsizetype length, const Filter& filter) {
    if (length == 0) {
        return false;
    }
    if (name[0] == '.') {
        if (!filter.includeHidden || length == 1 || (length == 2 && name[1] == '.')) {
            return false;
        }
    }
    for (const QByteArray& suffix : filter.suffixes) {
        if (endsWith(name, length, suffix, filter.ignoreCase)) {
            return true;
        }
    }
    return false;
}

bool canOpen(const QString& folder) {
    const QByteArray encoded = QFile::encodeName(folder);
    DirCloser closer{opendir(encoded.constData())};
    return closer.dir != nullptr;
}

Listing list(const QString& folder, const Filter& filter) {
    Listing out;
    const QByteArray encoded = QFile::encodeName(folder);
    DirCloser closer{opendir(encoded.constData())};
    if (!closer.dir) {
        out.error = reason(errno);
        return out;
    }
    const int fd = dirfd(closer.dir);
    errno = 0;
    while (const dirent* entry = readdir(closer.dir)) {
        const qsizetype length = static_cast<qsizetype>(std::strlen(entry->d_name));
        if (!nameMatches(entry->d_name, length, filter)) {
            continue;
        }
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            regular = fstatat(fd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
        }
        if (regular) {
            // Qt 6 decodes file names as UTF-8 on Linux, as QFile::decodeName does.
            out.names.append(QString::fromUtf8(entry->d_name, length));
        }
        errno = 0;
    }
    if (errno != 0) {
        out.error = reason(errno);
        out.names.clear();
        return out;
    }
    NameOrder::sort(out.names);
    out.ok = true;
    return out;
}

} // namespace FileList
