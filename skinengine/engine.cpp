// The engine's exports (see skin_engine.h). Drawing comes later; for now the
// engine reads a skin completely and keeps it.
#include <windows.h>

#include "skinengine/kept_skin.h"
#include "skinengine/skin_engine.h"
#include "skinengine/skin_format.h"

namespace vorrik::engine {
namespace {

constexpr uint32_t kKnownFlags = kLeaveMenus | kLeaveButtons;

KeptSkin g_skin;

}  // namespace
}  // namespace vorrik::engine

using namespace vorrik;
using namespace vorrik::engine;

extern "C" int32_t __stdcall SkinH_AttachRes(const uint8_t* skin, uint32_t size, const char* excludedClasses,
                                             uint32_t flags, uint32_t threadId, uint32_t reserved) {
  g_skin.Clear();
  if ((flags & ~kKnownFlags) != 0 || reserved != 0) return kBadArgument;
  if (!skin || size == 0) return kNoSkin;
  skin::SkinView view;
  const skin::ReadResult read = skin::ReadSkin({skin, size}, view);
  if (read != skin::ReadResult::kOk) return static_cast<int32_t>(read);
  if (!g_skin.Keep(view, excludedClasses, flags, threadId ? threadId : GetCurrentThreadId())) return kOutOfMemory;
  return kAttached;
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
