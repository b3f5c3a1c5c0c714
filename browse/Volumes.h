#pragma once

#include <QByteArray>
#include <QString>

// Which mounted volumes the drive list offers.
namespace browse {

// False for the kernel's and the container runtime's own file systems, which hold no songs and
// which a user never browses (proc, sysfs, cgroup, devpts, snap images, overlay layers other
// than the root, ...). The root "/" is always offered.
bool isBrowsable(const QString& rootPath, const QByteArray& fileSystemType);

// The text the drive list shows: the root path, followed by the volume's name in brackets
// where it has one.
QString volumeCaption(const QString& rootPath, const QString& volumeName);

} // namespace browse
