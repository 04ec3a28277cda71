#include "windows/kinds/kind.h"

namespace vorrik {
namespace {

// Each kind adds its entry here as it is built in; a window whose
// description names a kind not listed cannot be built.
const KindEntryPoints kBuiltinKinds[] = {
    {},  // placeholder so the array is never empty; code 0 names no kind
};

std::span<const KindEntryPoints> g_kinds = kBuiltinKinds;

}  // namespace

std::span<const KindEntryPoints> BuiltinKinds() { return g_kinds; }

const KindEntryPoints* FindKind(uint32_t code) {
  for (const auto& kind : g_kinds)
    if (code != 0 && kind.code == code && kind.Create) return &kind;
  return nullptr;
}

ScopedKindTable::ScopedKindTable(std::span<const KindEntryPoints> kinds) : previous_(g_kinds) { g_kinds = kinds; }
ScopedKindTable::~ScopedKindTable() { g_kinds = previous_; }

}  // namespace vorrik
