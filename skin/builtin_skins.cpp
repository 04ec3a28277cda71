#include "skin/builtin_skins.h"

#include <cstdint>

#include "shell/texts.h"
#include "skin/deployment.h"
#include "skin/library_commands.h"
#include "skin/skin_table.h"

namespace vorrik {
namespace {

constexpr uint32_t kByteBufferHeaderSize = 8;

// The engine's third argument: always an empty text, never null.
constexpr char kNoExcludedClasses[] = "";

uint32_t Word(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

}  // namespace

void ApplyBuiltinSkin(int32_t n) {
  DeploySkinEngine();
  ConstByteBuffer stored = BuiltinSkin(n);
  ByteBuffer skin = stored ? CopyByteBuffer(stored) : nullptr;
  const uint32_t length = ByteLength(skin);
  CallLibraryCommand(kSkinAttachCommand,
                     {Word(skin ? skin + kByteBufferHeaderSize : nullptr), length, Word(kNoExcludedClasses), 0, 0, 0});
  ReleaseBlock(skin);
}

}  // namespace vorrik
