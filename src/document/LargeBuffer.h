#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

#ifdef __linux__
#include <sys/mman.h>
#endif

// An uninitialised buffer for tens of megabytes that are written once. On Linux it asks for
// huge pages: filling 60 MB of fresh 4 KiB pages costs more than the decoding done in them.
class LargeBuffer
{
public:
    explicit LargeBuffer(std::size_t size)
    {
        constexpr std::size_t kHuge = std::size_t(2) << 20;
        const std::size_t rounded = (size + kHuge - 1) / kHuge * kHuge;
        m_data.reset(static_cast<char *>(std::aligned_alloc(kHuge, rounded ? rounded : kHuge)));
        if (!m_data)
            throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
        madvise(m_data.get(), rounded, MADV_HUGEPAGE); // advice only: ignored where unsupported
#endif
    }
    char *data() { return m_data.get(); }

private:
    struct Free {
        void operator()(char *p) const { std::free(p); }
    };
    std::unique_ptr<char, Free> m_data;
};
