// SkinH_EL.dll, our skin engine: the interface it exports (undecorated
// names, stdcall). It knows nothing of the program that loads it.
//
// SkinH_AttachRes(skin, size, excludedClasses, flags, threadId, reserved)
//   skin, size       the skin's bytes (see skin_format.h). The engine copies
//                    what it keeps during the call; the caller may free or
//                    reuse the bytes as soon as it returns. Null or 0 detaches.
//   excludedClasses  window classes the engine leaves to the system, separated
//                    by ';'; null or "" for none.
//   flags            kLeaveButtons leaves push buttons to the system;
//                    kLeaveMenus is accepted; other bits are refused.
//   threadId         0 or the caller's own thread: the windows drawn are
//                    the calling thread's; another thread is refused.
//   reserved         must be 0.
// Returns kAttached, or why nothing is attached now: a refused skin or
// argument leaves the engine drawing nothing, not the skin it had before.
//
// The queries let a program that paints parts itself match the skin:
//   SkinEngine_Colour(entry)  0x00BBGGRR, or kNoColour when no skin is
//                             attached or the entry is unknown
//   SkinEngine_Metric(metric) pixels, or -1 likewise
//   SkinEngine_Image(role, &width, &height, &pixels)
//                             the image's pixel format, 0 when there is none;
//                             the pixels are the engine's, valid until the
//                             next attach
#pragma once
#include <cstdint>

namespace vorrik::engine {

enum AttachResult : int32_t {
  kAttached = 0,
  kNoSkin = 1,
  // 2 to 5: skin::ReadResult, the skin's bytes were refused.
  kBadArgument = 6,
  kOutOfMemory = 7,
};

enum AttachFlags : uint32_t {
  kLeaveMenus = 1,
  kLeaveButtons = 2,
};

constexpr uint32_t kNoColour = 0xFFFFFFFF;

using AttachFunction = int32_t(__stdcall*)(const uint8_t* skin, uint32_t size, const char* excludedClasses,
                                           uint32_t flags, uint32_t threadId, uint32_t reserved);
using ColourFunction = uint32_t(__stdcall*)(uint32_t entry);
using MetricFunction = int32_t(__stdcall*)(uint32_t metric);
using ImageFunction = uint32_t(__stdcall*)(uint32_t role, uint32_t* width, uint32_t* height,
                                           const uint8_t** pixels);

}  // namespace vorrik::engine
