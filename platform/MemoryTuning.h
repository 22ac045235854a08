#pragma once

#if defined(__GLIBC__)
#include <malloc.h>
#endif

/// Every command rebuilds the song's texts and its page, megabytes for a
/// songbook. By default the C library hands large blocks back to the system
/// on every free and faults them in again on the next command; keeping them
/// makes a command cost its work, not the system's page handling.
inline void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
    mallopt(M_TOP_PAD, 16 * 1024 * 1024);
#endif
}
