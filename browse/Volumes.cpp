#include "browse/Volumes.h"

#include <array>
#include <string_view>

namespace browse {

namespace {

constexpr std::array<std::string_view, 24> kSystemTypes = {
    "proc",       "sysfs",    "cgroup",    "cgroup2",    "devpts",      "devtmpfs",
    "mqueue",     "debugfs",  "tracefs",   "securityfs", "pstore",      "bpf",
    "configfs",   "fusectl",  "hugetlbfs", "autofs",     "binfmt_misc", "nsfs",
    "rpc_pipefs", "efivarfs", "squashfs",  "selinuxfs",  "ramfs",       "fuse.portal",
};

bool under(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + u'/');
}

} // namespace

bool isBrowsable(const QString& rootPath, const QByteArray& fileSystemType) {
    if (rootPath == QLatin1String("/")) {
        return true;
    }
    if (rootPath.isEmpty()) {
        return false;
    }
    const std::string_view type(fileSystemType.constData(), static_cast<size_t>(fileSystemType.size()));
    for (const std::string_view t : kSystemTypes) {
        if (type == t) {
            return false;
        }
    }
    // Container layers and the kernel's own trees; removable media under /run/media stay.
    if (type == "overlay") {
        return false;
    }
    for (const char* folder : {"/proc", "/sys", "/dev", "/snap", "/var/lib/docker", "/var/lib/containers"}) {
        if (under(rootPath, QLatin1String(folder))) {
            return false;
        }
    }
    if (under(rootPath, QStringLiteral("/run")) && !under(rootPath, QStringLiteral("/run/media"))) {
        return false;
    }
    return true;
}

QString volumeCaption(const QString& rootPath, const QString& volumeName) {
    if (volumeName.isEmpty()) {
        return rootPath;
    }
    return rootPath + QStringLiteral(" [") + volumeName + u']';
}

} // namespace browse
