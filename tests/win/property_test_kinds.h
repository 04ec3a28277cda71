// Small kinds for the property-write and timer tests: a plain top-level
// window and a child control whose own property 1 asks for a rebuild. Both
// report their end to the shell like the real kinds do.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "windows/kinds/kind.h"

namespace vorrik::test {

// The control's own properties: 0 its caption (text, applied in place),
// 1 a "shape" number that only a rebuild shows.
constexpr int32_t kCaptionProperty = 8, kShapeProperty = 9;

// Settings block of the test control: u32 shape, counted caption.
std::vector<uint8_t> TestControlSettings(uint32_t shape, const std::string& caption);

// Every Create of the test control, as "shape:caption".
std::vector<std::string>& TestControlCreations();

const KindEntryPoints& TestWindowKind();   // KindCode of the window kind
const KindEntryPoints& TestControlKind();  // KindCode of the Label kind

// Takes and dispatches messages for the given time.
void PumpMessagesFor(DWORD milliseconds);

}  // namespace vorrik::test
