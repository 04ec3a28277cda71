#include "tests/win/test_support.h"

#include <windows.h>

namespace vorrik::test {

std::string EscapedBox(const std::string& caption, const std::string& text) {
  std::string out = "BOX[" + caption + "|";
  for (char c : text) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out + "]";
}

void PrintErrorBox(const char* text, const char* caption, unsigned flags) {
  std::string line = EscapedBox(caption, text) + (flags == (MB_OK | MB_ICONHAND) ? " flags-ok" : " flags-wrong");
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

ScopedRegistry::ScopedRegistry(DescriptionSet set, std::span<const HandlerRoutine> handlers)
    : registry_(std::move(set)) {
  Shell().registry = &registry_;
  Shell().handlers = handlers;
}

ScopedRegistry::~ScopedRegistry() {
  Shell().registry = nullptr;
  Shell().handlers = {};
}

DescriptionSet OneWindowSet(uint32_t windowId, const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& entries) {
  std::vector<uint32_t> ids;
  std::vector<std::vector<uint8_t>> records;
  for (const auto& [id, record] : entries) {
    ids.push_back(id);
    records.push_back(record);
  }
  DescriptionSet set;
  set.ids = {windowId};
  set.slots = {0};
  WindowDescription window;
  window.table = ControlTable::Make(ids, records);
  set.windows.push_back(std::move(window));
  return set;
}

}  // namespace vorrik::test
