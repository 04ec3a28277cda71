// Shared pieces of the Win32 tests.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "shell/shell_state.h"
#include "shell/window_registry.h"
#include "windows/description.h"

namespace vorrik::test {

// Shows no box: writes "BOX[" caption "|" text "]" to stderr, with CR and LF
// escaped, so that a death test can match the text byte for byte.
void PrintErrorBox(const char* text, const char* caption, unsigned flags);
std::string EscapedBox(const std::string& caption, const std::string& text);

// A registry built from the given windows, installed in the shell for the
// test's lifetime, with the given handler table.
class ScopedRegistry {
 public:
  ScopedRegistry(DescriptionSet set, std::span<const HandlerRoutine> handlers);
  ~ScopedRegistry();
  WindowRegistry& Get() { return registry_; }

 private:
  WindowRegistry registry_;
};

// A one-window set from (identifier, record) pairs; entry 0 is the window.
DescriptionSet OneWindowSet(uint32_t windowId, const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& entries);

}  // namespace vorrik::test
