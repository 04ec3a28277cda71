// Shared pieces of the skinning tests under Wine: scratch directories, the
// files the build puts beside the test program, and a run directory and
// library-command slots installed in the shell for one test.
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "skin/library_commands.h"

namespace vorrik::test {

// The folder of win_tests.exe, which also holds the stand-in engines
// (attach_stdcall.dll, attach_cdecl.dll, test_library.dll) and, in
// skinengine\, the real one.
std::string ProgramDirectory();
std::string BuiltEngineFile();

// A directory named after the running test, emptied when made and removed
// with its contents when it goes. Death-test children remake it with the
// same name, so the parent sees what the child left there.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::string& suffix = "");
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void RemoveTree(const std::string& path);
std::vector<uint8_t> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
// Names of the entries of a directory, without "." and "..".
std::vector<std::string> DirectoryEntries(const std::string& directory);

// The shell's run directory and a fresh set of library-command slots for the
// test's lifetime; bound libraries are released at the end.
class ShellSkinState {
 public:
  explicit ShellSkinState(const std::string& runDirectory,
                          std::span<const LibraryCommand> table = LibraryCommandTable());
  ~ShellSkinState();
  ShellSkinState(const ShellSkinState&) = delete;
  ShellSkinState& operator=(const ShellSkinState&) = delete;

 private:
  std::string savedRunDirectory_;
};

// Makes the directory current for the object's lifetime: the place the
// system's library search looks after the program's own folder.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::string& directory);
  ~CurrentDirectory();
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

 private:
  char saved_[MAX_PATH] = {};
};

std::string ModuleFile(HMODULE module);

// The attributes a file with exactly the given set reads back with. Wine
// keeps no archive bit: it reports every regular file as archive, and so
// never as normal.
DWORD ReportedFileAttributes(DWORD set);

// An export as the function type it has (FARPROC says nothing of that).
template <typename Function>
Function Export(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace vorrik::test
