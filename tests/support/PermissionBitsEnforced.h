// While alive, a file's permission bits bind this thread even when the tests run as root.
#pragma once

#include <array>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

/// Root reads and writes every file whatever its mode, so a file a child's account cannot read
/// would read fine in a test run as root. This takes CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH
/// out of the calling thread's effective set (they stay permitted) and puts them back on
/// destruction. Capabilities belong to a thread: the files must be opened on this one. Without
/// those capabilities (not root) there is nothing to take away.
class PermissionBitsEnforced
{
public:
    PermissionBitsEnforced()
    {
        if (::syscall(SYS_capget, &m_header, m_saved.data()) != 0) {
            m_failed = true;
            return;
        }
        std::array<__user_cap_data_struct, 2> lowered = m_saved;
        bool held = false;
        for (const int capability : { CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH }) {
            __user_cap_data_struct& word = lowered[CAP_TO_INDEX(capability)];
            held = held || (word.effective & CAP_TO_MASK(capability)) != 0;
            word.effective &= ~CAP_TO_MASK(capability);
        }
        if (!held) {
            return;
        }
        if (::syscall(SYS_capset, &m_header, lowered.data()) != 0) {
            m_failed = true;
            return;
        }
        m_lowered = true;
    }

    ~PermissionBitsEnforced()
    {
        if (m_lowered) {
            ::syscall(SYS_capset, &m_header, m_saved.data());
        }
    }

    PermissionBitsEnforced(const PermissionBitsEnforced&) = delete;
    PermissionBitsEnforced& operator=(const PermissionBitsEnforced&) = delete;

    /// False when the capabilities were held but could not be set aside.
    bool inForce() const { return !m_failed; }

private:
    __user_cap_header_struct m_header { _LINUX_CAPABILITY_VERSION_3, 0 };
    std::array<__user_cap_data_struct, 2> m_saved {};
    bool m_lowered = false;
    bool m_failed = false;
};
