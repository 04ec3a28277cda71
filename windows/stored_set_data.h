// The description set as the build tool wrote it (a generated source).
#pragma once
#include <cstddef>
#include <cstdint>

namespace vorrik {
extern const uint8_t kStoredDescriptionSet[];
extern const size_t kStoredDescriptionSetSize;
}  // namespace vorrik
