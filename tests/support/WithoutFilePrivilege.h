#pragma once

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

// Takes from the calling thread, while it lives, the capabilities that let root pass file
// permissions, so that a test run as root meets a locked folder as any user does.
class WithoutFilePrivilege
{
public:
    WithoutFilePrivilege()
    {
#ifdef Q_OS_LINUX
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_lowered = ::syscall(SYS_capset, &m_header, lowered) == 0;
#endif
    }
    ~WithoutFilePrivilege()
    {
#ifdef Q_OS_LINUX
        if (m_lowered)
            ::syscall(SYS_capset, &m_header, m_saved);
#endif
    }
    WithoutFilePrivilege(const WithoutFilePrivilege &) = delete;
    WithoutFilePrivilege &operator=(const WithoutFilePrivilege &) = delete;

private:
#ifdef Q_OS_LINUX
    __user_cap_header_struct m_header {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2] {};
    bool m_lowered = false;
#endif
};
