// libFuzzer target: any bytes given as the description set are either read
// or refused, never a crash, a hang or a read outside them.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/read_everything.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vorrik::ReadEverything({data, size});
  return 0;
}
