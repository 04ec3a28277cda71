#include "windows/kinds/kind.h"

namespace vorrik {
namespace {

// No standard kind is built in yet; windows cannot be built until they are.
std::span<const KindEntryPoints> g_kinds = {};

}  // namespace

std::span<const KindEntryPoints> BuiltinKinds() { return g_kinds; }

const KindEntryPoints* FindKind(uint32_t code) {
  for (const auto& kind : g_kinds)
    if (kind.code == code && kind.Create) return &kind;
  return nullptr;
}

ScopedKindTable::ScopedKindTable(std::span<const KindEntryPoints> kinds) : previous_(g_kinds) { g_kinds = kinds; }
ScopedKindTable::~ScopedKindTable() { g_kinds = previous_; }

}  // namespace vorrik
