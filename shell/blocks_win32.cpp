// Text and ByteBuffer blocks on the process heap.
#include <windows.h>

#include "shell/blocks.h"
#include "shell/error_text.h"
#include "shell/shell.h"
#include "shell/shell_state.h"

namespace vorrik {
namespace {

// Constant texts and buffers live in the program's image; never free those.
bool InsideProgramImage(const void* p) {
  static const uint8_t* const base = reinterpret_cast<const uint8_t*>(GetModuleHandleA(nullptr));
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  auto at = static_cast<const uint8_t*>(p);
  return at >= base && at < base + nt->OptionalHeader.SizeOfImage;
}

HANDLE Heap() {
  HANDLE& heap = Shell().heap;
  if (!heap) heap = GetProcessHeap();
  return heap;
}

}  // namespace

void* AllocateBlock(uint32_t size) {
  void* block = HeapAlloc(Heap(), 0, size ? size : 1);
  if (block) return block;
  char message[kAllocationMessageCapacity];
  FormatAllocationFailure(static_cast<int32_t>(size), message);
  ReportRuntimeError(0, message);
}

void ReleaseBlock(const void* block) {
  if (!block || InsideProgramImage(block)) return;
  HeapFree(Heap(), 0, const_cast<void*>(block));
}

}  // namespace vorrik
