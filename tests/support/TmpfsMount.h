// A small tmpfs mounted on a folder for the life of the object: a disk a test can fill up.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cerrno>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

/// Call before any thread starts (a test's initMain). Gives the process a mount namespace of
/// its own, so a tmpfs a test mounts is seen by nothing else and goes with the process even if
/// a watchdog kills it. A user who is not root gets there through a user namespace in which
/// they are root over their own files; where that is not allowed, nothing changes and
/// TmpfsMount reports EPERM.
inline void enterOwnMountNamespace()
{
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (uid == 0) {
        if (::unshare(CLONE_NEWNS) != 0) {
            return;
        }
    } else {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
            return;
        }
        const auto writeProc = [](const char* path, const QByteArray& text) {
            const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
            if (fd >= 0) {
                [[maybe_unused]] const ssize_t written = ::write(fd, text.constData(), text.size());
                ::close(fd);
            }
        };
        writeProc("/proc/self/setgroups", "deny");
        writeProc("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1");
        writeProc("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1");
    }
    // Mounts made from here on do not travel back to the namespace we came from.
    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
}

class TmpfsMount
{
public:
    /// Mounts a tmpfs of the given size (rounded up to whole pages) on an existing folder.
    TmpfsMount(const QString& folder, qint64 bytes)
        : m_folder(QFile::encodeName(folder))
    {
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0700";
        if (::mount("sumdash-test", m_folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV | MS_NOEXEC,
                    options.constData())
            != 0) {
            m_error = errno;
        }
    }

    ~TmpfsMount()
    {
        if (m_error == 0) {
            // Detached, so a file a failed test left open cannot keep the disk mounted.
            ::umount2(m_folder.constData(), MNT_DETACH);
        }
    }

    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return m_error == 0; }
    /// errno of the failed mount(2); EPERM when this process may not mount.
    int error() const { return m_error; }

private:
    QByteArray m_folder;
    int m_error = 0;
};
