// The engine's exports (see skin_engine.h) and its life in the process:
// attach reads and keeps the skin, then draws the thread's windows in it;
// unloading the library gives every window back to the system first.
#include <windows.h>

#include "skinengine/kept_skin.h"
#include "skinengine/look.h"
#include "skinengine/program_imports.h"
#include "skinengine/skin_engine.h"
#include "skinengine/skin_format.h"
#include "skinengine/skinned_windows.h"

namespace vorrik::engine {
namespace {

constexpr uint32_t kKnownFlags = kLeaveMenus | kLeaveButtons;

KeptSkin g_skin;

// Back to plain: windows, the program's colours, the look, the skin.
void Detach() {
  ReleaseThreadWindows();
  RestoreProgramImports();
  MutableLook().Drop();
  g_skin.Clear();
}

int32_t Attach(const skin::SkinView& view, const char* excludedClasses, uint32_t flags) {
  if (!g_skin.Keep(view, excludedClasses, flags) || !MutableLook().Make(g_skin)) {
    Detach();
    return kOutOfMemory;
  }
  RedirectProgramImports();
  if (!SkinThreadWindows(g_skin.excludedClasses(), (flags & kLeaveButtons) != 0)) {
    Detach();
    return kOutOfMemory;
  }
  RepaintThreadWindows();
  return kAttached;
}

}  // namespace
}  // namespace vorrik::engine

using namespace vorrik;
using namespace vorrik::engine;

extern "C" int32_t __stdcall SkinH_AttachRes(const uint8_t* skin, uint32_t size, const char* excludedClasses,
                                             uint32_t flags, uint32_t threadId, uint32_t reserved) {
  Detach();
  if ((flags & ~kKnownFlags) != 0 || reserved != 0) return kBadArgument;
  if (threadId != 0 && threadId != GetCurrentThreadId()) return kBadArgument;
  if (!skin || size == 0) return kNoSkin;
  skin::SkinView view;
  const skin::ReadResult read = skin::ReadSkin({skin, size}, view);
  if (read != skin::ReadResult::kOk) return static_cast<int32_t>(read);
  return Attach(view, excludedClasses, flags);
}

extern "C" uint32_t __stdcall SkinEngine_Colour(uint32_t entry) { return g_skin.Colour(entry); }

extern "C" int32_t __stdcall SkinEngine_Metric(uint32_t metric) { return g_skin.Metric(metric); }

extern "C" uint32_t __stdcall SkinEngine_Image(uint32_t role, uint32_t* width, uint32_t* height,
                                               const uint8_t** pixels) {
  const KeptImage* image = g_skin.Image(role);
  if (width) *width = image ? image->width : 0;
  if (height) *height = image ? image->height : 0;
  if (pixels) *pixels = image ? image->pixels : nullptr;
  return image ? image->format : 0;
}

// Unloaded by FreeLibrary (reserved is null): nothing of ours may stay in a
// window, a hook or the program's import table. At process exit the
// windows go with the process, so nothing is undone.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  if (reason == DLL_PROCESS_DETACH && !reserved) Detach();
  return TRUE;
}
