#include "core/data/Memory.h"

#include <malloc.h>

namespace gz {

void keepFreedMemory() {
    mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
}

} // namespace gz
