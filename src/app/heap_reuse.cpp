#include "app/heap_reuse.h"

#include <cstdlib>  // defines __GLIBC__ on glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quorvel {

void KeepFreedBuffersForReuse() {
#if defined(__GLIBC__)
    constexpr int kKept = 16 << 20;
    mallopt(M_MMAP_THRESHOLD, kKept);  // larger ones are rare: mapped, as before
    mallopt(M_TRIM_THRESHOLD, kKept);
#endif
}

}  // namespace quorvel
