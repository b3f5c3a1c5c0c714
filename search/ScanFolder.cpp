#include "search/ScanFolder.h"

#include <QFile>

#include <cstring>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace {

struct FileId {
    dev_t device;
    ino_t inode;
    friend bool operator==(const FileId&, const FileId&) = default;
};

struct FileIdHash {
    size_t operator()(const FileId& id) const noexcept {
        return std::hash<unsigned long long>()(static_cast<unsigned long long>(id.inode) * 1000003ULL ^
                                               static_cast<unsigned long long>(id.device));
    }
};

bool endsWithMp3(const char* name, size_t length) {
    if (length < 4 || name[length - 4] != '.') {
        return false;
    }
    const char* ext = name + length - 3;
    return (ext[0] | 0x20) == 'm' && (ext[1] | 0x20) == 'p' && ext[2] == '3';
}

bool isAscii(const char* name, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(name[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

// False when the text of a name does not lead back to its bytes (not valid UTF-8).
bool decodes(const QByteArray& bytes, const QString& text) {
    return isAscii(bytes.constData(), static_cast<size_t>(bytes.size())) || QFile::encodeName(text) == bytes;
}

class Walker {
public:
    Walker(const QString& keyword, SearchResults& results, const ScanOptions& options)
        : m_keyword(keyword.toLower()), m_results(results), m_useEntryType(options.useEntryType) {
        m_keywordIsAscii = true;
        for (QChar c : m_keyword) {
            if (c.unicode() >= 0x80) {
                m_keywordIsAscii = false;
                break;
            }
        }
        if (m_keywordIsAscii) {
            m_keywordAscii = m_keyword.toLatin1();
        }
    }

    // `textOk` is false below a folder whose name cannot be decoded: `text` is then no usable path.
    void visit(const QByteArray& path, const QString& text, bool textOk) {
        DIR* dir = opendir(path.constData());
        if (!dir) {
            return;
        }
        const int fd = dirfd(dir);
        // A folder whose identity is unknown could be part of a loop; one seen before is one.
        struct stat self {};
        if (fstat(fd, &self) != 0 || isKernelFileSystem(fd, self.st_dev) ||
            !m_visited.insert(FileId{self.st_dev, self.st_ino}).second) {
            closedir(dir);
            return;
        }

        // The listing is finished and closed before descending, so open folders never pile up.
        std::vector<QByteArray> subfolders;
        while (const dirent* entry = readdir(dir)) {
            const char* name = entry->d_name;
            if (name[0] == '.') {
                continue;
            }
            int type = m_useEntryType ? int(entry->d_type) : int(DT_UNKNOWN);
            if (type == DT_LNK || type == DT_UNKNOWN) {
                // Links are followed: their target decides.
                struct stat st {};
                if (fstatat(fd, name, &st, 0) != 0) {
                    continue;
                }
                type = S_ISREG(st.st_mode)   ? int(DT_REG)
                       : S_ISDIR(st.st_mode) ? int(DT_DIR)
                                             : int(DT_UNKNOWN);
            }
            const size_t length = std::strlen(name);
            if (type == DT_REG) {
                if (endsWithMp3(name, length)) {
                    countAndMatch(name, length, text, textOk);
                }
            } else if (type == DT_DIR) {
                subfolders.emplace_back(name, static_cast<qsizetype>(length));
            }
        }
        closedir(dir);

        for (const QByteArray& sub : subfolders) {
            const QString subText = QFile::decodeName(sub);
            visit(path + '/' + sub, text + QLatin1Char('/') + subText, textOk && decodes(sub, subText));
        }
    }

private:
    // The kernel's own views (processes, devices, settings) hold no music, are huge, and are
    // full of links back into the real tree that would show its files under odd paths.
    bool isKernelFileSystem(int fd, dev_t device) {
        const auto known = m_kernelDevice.find(device);
        if (known != m_kernelDevice.end()) {
            return known->second;
        }
        struct statfs fs {};
        bool kernel = false;
        if (fstatfs(fd, &fs) == 0) {
            switch (static_cast<unsigned long>(fs.f_type)) {
            case 0x9fa0UL:     // proc
            case 0x62656572UL: // sysfs
            case 0x1cd1UL:     // devpts
            case 0x64626720UL: // debugfs
            case 0x74726163UL: // tracefs
            case 0x27e0ebUL:   // cgroup
            case 0x63677270UL: // cgroup2
            case 0x73636673UL: // securityfs
            case 0xcafe4a11UL: // bpf
            case 0x6165676cUL: // pstore
            case 0x62656570UL: // configfs
            case 0x65735543UL: // fusectl
            case 0x19800202UL: // mqueue
                kernel = true;
                break;
            default:
                break;
            }
        }
        m_kernelDevice.emplace(device, kernel);
        return kernel;
    }

    void countAndMatch(const char* name, size_t length, const QString& folderText, bool textOk) {
        if (m_results.mp3Total < std::numeric_limits<qint32>::max()) {
            ++m_results.mp3Total;
        }
        if (!matches(name, length)) {
            return;
        }
        const QByteArray bytes(name, static_cast<qsizetype>(length));
        const QString fileName = QFile::decodeName(bytes);
        if (!textOk || !decodes(bytes, fileName)) {
            ++m_results.unreadable;
            return;
        }
        m_results.paths.append(folderText + QLatin1Char('/') + fileName);
        m_results.names.append(fileName);
    }

    // Plain ASCII names, the common case, are lower-cased and searched as bytes; the outcome is
    // the same as lower-casing both as text, since an ASCII name can only hold an ASCII keyword.
    bool matches(const char* name, size_t length) {
        if (isAscii(name, length)) {
            if (!m_keywordIsAscii) {
                return false;
            }
            m_lowered.resize(length);
            for (size_t i = 0; i < length; ++i) {
                const char c = name[i];
                m_lowered[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c | 0x20) : c;
            }
            return std::string_view(m_lowered.data(), length)
                       .find(std::string_view(m_keywordAscii.constData(),
                                              static_cast<size_t>(m_keywordAscii.size()))) !=
                   std::string_view::npos;
        }
        const QString fileName = QFile::decodeName(QByteArray(name, static_cast<qsizetype>(length)));
        return fileName.toLower().contains(m_keyword, Qt::CaseSensitive);
    }

    const QString m_keyword; // lower case
    bool m_keywordIsAscii = true;
    QByteArray m_keywordAscii;
    std::vector<char> m_lowered;
    SearchResults& m_results;
    const bool m_useEntryType;
    std::unordered_set<FileId, FileIdHash> m_visited;
    std::unordered_map<dev_t, bool> m_kernelDevice;
};

} // namespace

void search::ScanFolder(const QString& folder, const QString& keyword, SearchResults& results,
                        const ScanOptions& options) {
    const QByteArray path = QFile::encodeName(folder);
    // A NUL would silently cut the path short and walk some other folder.
    if (path.isEmpty() || path.contains('\0')) {
        return;
    }
    Walker walker(keyword, results, options);
    walker.visit(path, folder, true);
}
