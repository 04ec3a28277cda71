#include "windows/kinds/window_help.h"

#include <vector>

#include "shell/run_directory.h"

namespace vorrik {
namespace {

HelpRoutine g_testViewer = nullptr;

HelpRoutine Viewer() { return g_testViewer ? g_testViewer : WinHelpA; }

std::string ProgramPath() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return std::string(path.data(), length);
    path.resize(path.size() * 2);  // cut short: ask again with more room
  }
}

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string HelpFilePath(const std::string& helpFile) {
  if (!helpFile.empty()) return helpFile;
  return WithExtension(ProgramPath().c_str(), "hlp", IsGbkLeadByte);
}

bool OpenHelp(HWND window, const std::string& file, uint32_t topic) {
  if (file.empty() || !IsFile(file)) return false;
  if (topic == 0) return Viewer()(window, file.c_str(), HELP_CONTENTS, 0) != FALSE;
  return Viewer()(window, file.c_str(), HELP_CONTEXT, topic) != FALSE;
}

void CloseHelp(HWND window, const std::string& file) { Viewer()(window, file.c_str(), HELP_QUIT, 0); }

ScopedHelpViewer::ScopedHelpViewer(HelpRoutine viewer) : previous_(g_testViewer) { g_testViewer = viewer; }
ScopedHelpViewer::~ScopedHelpViewer() { g_testViewer = previous_; }

}  // namespace vorrik
