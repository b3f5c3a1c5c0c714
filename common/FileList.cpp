#include "common/FileList.h"

#include "common/NameOrder.h"
#include "common/TextFiles.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace common {

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

// Why a folder could not be read, for a message to the user: the folder's own wording where it
// differs, the program's general reasons for the rest.
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
        return common::reasonText(code);
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

ListFilter songFilter() {
    return ListFilter{{QByteArrayLiteral(".mp3"), QByteArrayLiteral(".mid")}, true, false};
}

bool nameMatches(const char* name, qsizetype length, const ListFilter& filter) {
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

bool canOpenFolder(const QString& folder) {
    const QByteArray encoded = QFile::encodeName(folder);
    DirCloser closer{opendir(encoded.constData())};
    return closer.dir != nullptr;
}

bool decodeName(const char* name, qsizetype length, QString& text) {
    const QByteArrayView bytes(name, length);
    text = QFile::decodeName(bytes.toByteArray());
    for (qsizetype i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(name[i]) >= 0x80) {
            return QFile::encodeName(text) == bytes;
        }
    }
    return true; // plain ASCII always comes back the same
}

namespace {

// Reads `folder` once and hands each entry to `take(name, length, type)`, where type is
// DT_REG, DT_DIR or DT_UNKNOWN (anything else), links resolved. `wanted(name, length)` says
// which entries are worth a stat where the listing gives no type.
template <typename Wanted, typename Take>
bool readFolder(const QString& folder, QString& error, Wanted wanted, Take take) {
    const QByteArray encoded = QFile::encodeName(folder);
    DirCloser closer{opendir(encoded.constData())};
    if (!closer.dir) {
        error = reason(errno);
        return false;
    }
    const int fd = dirfd(closer.dir);
    errno = 0;
    while (const dirent* entry = readdir(closer.dir)) {
        const qsizetype length = static_cast<qsizetype>(std::strlen(entry->d_name));
        if (wanted(entry->d_name, length)) {
            int type = entry->d_type;
            if (type == DT_LNK || type == DT_UNKNOWN) {
                struct stat st {};
                type = fstatat(fd, entry->d_name, &st, 0) != 0 ? DT_UNKNOWN
                       : S_ISREG(st.st_mode)                   ? DT_REG
                       : S_ISDIR(st.st_mode)                   ? DT_DIR
                                                               : DT_UNKNOWN;
            }
            take(entry->d_name, length, type);
        }
        errno = 0;
    }
    if (errno != 0) {
        error = reason(errno);
        return false;
    }
    return true;
}

} // namespace

Listing listFolder(const QString& folder, const ListFilter& filter) {
    Listing out;
    QString name;
    out.ok = readFolder(
        folder, out.error,
        [&filter](const char* n, qsizetype length) { return nameMatches(n, length, filter); },
        [&](const char* n, qsizetype length, int type) {
            if (type != DT_REG) {
                return;
            }
            if (decodeName(n, length, name)) {
                out.names.append(name);
            } else {
                ++out.unreadable;
            }
        });
    if (!out.ok) {
        out.names.clear();
        out.unreadable = 0;
        return out;
    }
    common::sortNames(out.names);
    return out;
}

Listing listSubfolders(const QString& folder) {
    Listing out;
    QString name;
    out.ok = readFolder(
        folder, out.error, [](const char* n, qsizetype length) { return length > 0 && n[0] != '.'; },
        [&](const char* n, qsizetype length, int type) {
            if (type == DT_DIR && decodeName(n, length, name)) {
                out.names.append(name);
            }
        });
    if (!out.ok) {
        out.names.clear();
        return out;
    }
    common::sortNames(out.names);
    return out;
}

} // namespace common
