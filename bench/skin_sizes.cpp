// Sizes that skinning adds to the program: the engine's file, each built-in
// skin and their total, each against the figure of the engine and skin set
// the program was first specified with, and the program's own file.
//   scripts/wine-run build/target/bench_skin_sizes.exe
#include <windows.h>

#include <cstdio>
#include <string>

#include "skin/engine_payload.h"
#include "skin/skin_table.h"
#include "windows/byte_io.h"

namespace {

constexpr double kReferenceEngineBytes = 88576;
constexpr double kReferenceSkinBytes = 726965;

// A file beside this program, or -1 when it is not there.
long long SizeBesideMe(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path);
  file = file.substr(0, file.find_last_of('\\') + 1) + name;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A ByteBuffer's length field.
uint32_t Length(vorrik::ConstByteBuffer buffer) { return vorrik::LoadU32(buffer + 4); }

}  // namespace

int main() {
  using namespace vorrik;
  const uint32_t engine = Length(SkinEnginePayload());
  std::printf("engine SkinH_EL.dll: %u bytes (reference 88,576: %.3f of it)\n", engine, engine / kReferenceEngineBytes);
  uint32_t total = 0;
  for (int32_t n = 1; n <= kBuiltinSkinCount; ++n) {
    const uint32_t size = Length(BuiltinSkin(n));
    total += size;
    std::printf("skin %2d: %6u bytes\n", n, size);
  }
  std::printf("skins 1-%d: %u bytes (reference 726,965: %.3f of it)\n", kBuiltinSkinCount, total,
              total / kReferenceSkinBytes);
  std::printf("vorrik.exe: %lld bytes\n", SizeBesideMe("vorrik.exe"));
  return 0;
}
