#include "skin/deployment.h"

#include <windows.h>

#include <cstring>

#include "shell/shell_state.h"
#include "shell/texts.h"
#include "skin/engine_payload.h"
#include "skin/win32_handles.h"

namespace vorrik {
namespace {

constexpr uint32_t kByteBufferHeaderSize = 8;
constexpr uint32_t kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE;

bool WriteAll(HANDLE file, const uint8_t* data, uint32_t length) {
  while (length) {
    DWORD written = 0;
    if (!WriteFile(file, data, length, &written, nullptr) || written == 0) return false;
    data += written;
    length -= written;
  }
  return true;
}

}  // namespace

Text RunDirectory() {
  const std::string& directory = Shell().runDirectory;
  if (directory.empty()) return nullptr;
  Text text = static_cast<Text>(AllocateBlock(static_cast<uint32_t>(directory.size() + 1)));
  std::memcpy(text, directory.c_str(), directory.size() + 1);
  return text;
}

bool FileExists(ConstText path) {
  WIN32_FIND_DATAA found;
  UniqueFind search(FindFirstFileA(path ? path : "", &found));
  return static_cast<bool>(search);
}

bool WriteBytesToFile(ConstText path, std::initializer_list<ConstByteBuffer> buffers) {
  if (!path || !*path) return false;
  UniqueFile file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  bool written = true;
  for (ConstByteBuffer buffer : buffers) {
    const uint32_t length = ByteLength(buffer);
    if (length && !WriteAll(file.get(), buffer + kByteBufferHeaderSize, length)) {
      written = false;
      break;
    }
  }
  return file.Close() && written;
}

bool SetFileAttributeFlags(ConstText path, uint32_t flags) {
  // An empty set is spelled "normal" to the system.
  const DWORD attributes = flags & kKeptAttributes ? flags & kKeptAttributes : FILE_ATTRIBUTE_NORMAL;
  return SetFileAttributesA(path ? path : "", attributes) != FALSE;
}

void DeploySkinEngine() {
  Text directory = RunDirectory();
  Text path = JoinTexts(directory, kSkinEngineFileName);
  ReleaseBlock(directory);
  if (!FileExists(path)) {
    WriteBytesToFile(path, {SkinEnginePayload()});
    SetFileAttributeFlags(path, FILE_ATTRIBUTE_HIDDEN);
  }
  ReleaseBlock(path);
}

}  // namespace vorrik
