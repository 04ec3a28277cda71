#include "tests/win/skin_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "shell/shell_state.h"

namespace vorrik::test {

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path);
  return directory.substr(0, directory.find_last_of('\\'));
}

std::string BuiltEngineFile() { return ProgramDirectory() + "\\skinengine\\SkinH_EL.dll"; }

ScratchDirectory::ScratchDirectory(const std::string& suffix) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + "vorrik_" + test->test_suite_name() + "_" + test->name() + suffix;
  RemoveTree(path_);
  CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDirectory::~ScratchDirectory() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileA(path.c_str());
    return;
  }
  for (const std::string& name : DirectoryEntries(path)) RemoveTree(path + "\\" + name);
  RemoveDirectoryA(path.c_str());
}

std::vector<std::string> DirectoryEntries(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return static_cast<bool>(out.flush());
}

ShellSkinState::ShellSkinState(const std::string& runDirectory, std::span<const LibraryCommand> table)
    : savedRunDirectory_(Shell().runDirectory) {
  Shell().runDirectory = runDirectory;
  CreateLibraryCommandSlots(table);
}

ShellSkinState::~ShellSkinState() {
  ReleaseBoundLibraries();
  Shell().runDirectory = savedRunDirectory_;
}

CurrentDirectory::CurrentDirectory(const std::string& directory) {
  GetCurrentDirectoryA(MAX_PATH, saved_);
  SetCurrentDirectoryA(directory.c_str());
}

CurrentDirectory::~CurrentDirectory() { SetCurrentDirectoryA(saved_); }

DWORD ReportedFileAttributes(DWORD set) {
  static const bool underWine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  if (!underWine) return set;
  return (set & ~DWORD(FILE_ATTRIBUTE_NORMAL)) | FILE_ATTRIBUTE_ARCHIVE;
}

std::string ModuleFile(HMODULE module) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module, path, MAX_PATH);
  return path;
}

}  // namespace vorrik::test
