#include "support/LargePages.h"

#include <cstdint>

#include <malloc.h>

#include <sys/mman.h>

namespace {
constexpr std::uintptr_t HugePage = 2 * 1024 * 1024;
constexpr std::uintptr_t Page = 4096;
} // namespace

void preferHugePages(void *data, std::size_t bytes)
{
#if defined(MADV_HUGEPAGE)
    if (bytes < HugePage)
        return;
    // The advice covers the buffer's own pages; the kernel then uses a huge
    // page wherever an aligned 2 MiB of the mapping carries it.
    const std::uintptr_t begin = std::uintptr_t(data) & ~(Page - 1);
    const std::uintptr_t end = (std::uintptr_t(data) + bytes + Page - 1) & ~(Page - 1);
    ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

void keepFreedMemory()
{
#if defined(M_MMAP_THRESHOLD) && defined(M_TRIM_THRESHOLD)
    // Room for a 10 MB file's bytes, its rules and their texts, twice over.
    constexpr int HeapBuffers = 32 * 1024 * 1024;
    constexpr int KeptFree = 96 * 1024 * 1024;
    ::mallopt(M_MMAP_THRESHOLD, HeapBuffers);
    ::mallopt(M_TRIM_THRESHOLD, KeptFree);
#endif
}
