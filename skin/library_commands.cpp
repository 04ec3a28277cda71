#include "skin/library_commands.h"

#include <vector>

#include "shell/error_text.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "skin/stack_checked_call.h"
#include "skin/win32_handles.h"

namespace vorrik {
namespace {

constexpr LibraryCommand kCommands[] = {
    {"SkinH_EL.dll", "SkinH_AttachRes"},
};

constexpr int32_t kStackErrorNumber = 6;

std::vector<LibraryCommandSlot> g_slots;

// A library that fails to load says nothing: no system error box.
class QuietLoads {
 public:
  QuietLoads() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &saved_); }
  ~QuietLoads() { SetThreadErrorMode(saved_, nullptr); }
  QuietLoads(const QuietLoads&) = delete;
  QuietLoads& operator=(const QuietLoads&) = delete;

 private:
  DWORD saved_ = 0;
};

// The first candidate that loads: beside the program, then the system's search.
UniqueLibrary LoadCommandLibrary(const std::string& library, const std::string& runDirectory) {
  QuietLoads quiet;
  UniqueLibrary loaded(LoadLibraryA((runDirectory + "\\" + library).c_str()));
  if (!loaded) loaded.Reset(LoadLibraryA(library.c_str()));
  return loaded;
}

// Names the library as declared, never a path that was tried.
[[noreturn]] void ReportBindingFailure(const std::string& library, const std::string& exportName) {
  std::string message(FormatBindingFailure(library.c_str(), exportName.c_str(), nullptr, 0), '\0');
  FormatBindingFailure(library.c_str(), exportName.c_str(), message.data(), message.size() + 1);
  ReportRuntimeError(0, message.c_str());
}

}  // namespace

std::span<const LibraryCommand> LibraryCommandTable() { return kCommands; }

void CreateLibraryCommandSlots(std::span<const LibraryCommand> table) {
  g_slots.clear();
  for (const auto& command : table) g_slots.push_back({command.library, command.exportName});
}

std::span<LibraryCommandSlot> LibraryCommandSlots() { return g_slots; }

FARPROC ResolveLibraryCommand(LibraryCommandSlot& slot, const std::string& runDirectory) {
  if (slot.address) return slot.address;
  UniqueLibrary library = LoadCommandLibrary(slot.library, runDirectory);
  FARPROC address = library ? GetProcAddress(library.get(), slot.exportName.c_str()) : nullptr;
  if (!address) {
    library.Close();  // before the report, which does not return
    ReportBindingFailure(slot.library, slot.exportName);
  }
  slot.module = library.Release();
  slot.address = address;
  return address;
}

FARPROC ResolveLibraryCommand(int32_t n) {
  // An undeclared command has no names to give; it ends like any failed binding.
  if (n < 0 || static_cast<size_t>(n) >= g_slots.size()) ReportBindingFailure("", "");
  return ResolveLibraryCommand(g_slots[n], Shell().runDirectory);
}

uint32_t CallLibraryCommand(int32_t n, std::initializer_list<uint32_t> args) {
  FARPROC function = ResolveLibraryCommand(n);
  bool balanced = false;
  const uint32_t result = CallWithStackCheck(function, args.begin(), static_cast<int>(args.size()), &balanced);
  if (!balanced) ReportRuntimeError(kStackErrorNumber, nullptr);
  return result;
}

void ReleaseBoundLibraries(void (*observer)(const char* library)) {
  for (auto& slot : g_slots) {
    if (!slot.module) continue;
    FreeLibrary(slot.module);
    if (observer) observer(slot.library.c_str());
    slot.module = nullptr;
    slot.address = nullptr;
  }
}

}  // namespace vorrik
