// The block allocator for native tests: malloc, with a count of live blocks
// so that tests can tell a leak or a double release.
#include "tests/unit/host_blocks.h"

#include <cstdlib>
#include <stdexcept>

namespace vorrik {
namespace {
long g_liveBlocks = 0;
}

void* AllocateBlock(uint32_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  ++g_liveBlocks;
  return block;
}

void ReleaseBlock(const void* block) {
  if (!block) return;
  --g_liveBlocks;
  std::free(const_cast<void*>(block));
}

long LiveBlockCount() { return g_liveBlocks; }

}  // namespace vorrik
