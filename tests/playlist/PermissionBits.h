#pragma once

#include <QFile>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// While alive, the calling thread obeys file permission bits even as root: it gives up the
// capabilities that override them (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER) from its
// effective set, keeps them permitted and takes them back at the end. Capabilities belong to a
// thread, so other threads and processes are not touched. For other users it changes nothing.
// A `readOnlyFolder`, when given, is made read-only meanwhile.
class PermissionBits {
public:
    explicit PermissionBits(const QString& readOnlyFolder = {}) : m_folder(readOnlyFolder) {
        if (!m_folder.isEmpty()) {
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        if (syscall(SYS_capget, &m_header, m_saved) != 0) {
            return;
        }
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &=
            ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        m_active = syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~PermissionBits() {
        if (!m_folder.isEmpty()) {
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        if (m_active) {
            syscall(SYS_capset, &m_header, m_saved);
        }
    }
    PermissionBits(const PermissionBits&) = delete;
    PermissionBits& operator=(const PermissionBits&) = delete;

    // False when the bits could not be made to apply (a test that needs them says so and skips).
    bool active() const { return m_active || geteuid() != 0; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_active = false;
    QString m_folder;
};
