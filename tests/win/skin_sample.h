// The skin engine as built, loaded for one test, and a sample window with
// what the engine draws: a caption with its boxes, a menu bar, push buttons
// in several states, a group box and a label.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "skinengine/skin_engine.h"
#include "skinengine/skin_format.h"

namespace vorrik::test {

class LoadedEngine {
 public:
  LoadedEngine();
  ~LoadedEngine() { Unload(); }
  LoadedEngine(const LoadedEngine&) = delete;
  LoadedEngine& operator=(const LoadedEngine&) = delete;

  bool loaded() const { return library_ != nullptr; }
  // Attaches built-in skin n (a fresh copy, freed right after, as the
  // program does).
  int32_t Attach(int32_t n);
  int32_t AttachBytes(std::vector<uint8_t> bytes);
  void Unload();

 private:
  HMODULE library_ = nullptr;
  engine::AttachFunction attach_ = nullptr;
};

// A built-in skin's bytes, and its colours as read from them.
std::vector<uint8_t> BuiltinSkinBytes(int32_t n);
skin::SkinView SkinColours(int32_t n, std::vector<uint8_t>& keep);

class SampleWindow {
 public:
  // A shown, active window with its outer top-left corner at (x, y).
  SampleWindow(int x, int y, const char* title = "皮肤示例");
  ~SampleWindow();
  SampleWindow(const SampleWindow&) = delete;
  SampleWindow& operator=(const SampleWindow&) = delete;

  HWND window() const { return window_; }
  HWND okButton() const { return ok_; }
  HWND cancelButton() const { return cancel_; }
  HWND pressedButton() const { return pressed_; }
  HWND disabledButton() const { return disabled_; }
  int closeRequests() const { return closeRequests_; }
  void AllowClose() { refuseClose_ = false; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr, ok_ = nullptr, cancel_ = nullptr, pressed_ = nullptr, disabled_ = nullptr;
  int closeRequests_ = 0;
  bool refuseClose_ = true;
};

// Pumps this thread's messages for a while, so that painting is done.
void Settle(DWORD milliseconds = 250);

// Mouse input, given from a helper thread while this thread pumps its
// messages: a press on a caption enters the system's modal move loop, which
// only the release ends.
struct MouseStep {
  enum Kind { kMove, kPress, kRelease } kind;
  POINT at;
};
void RunMouse(std::initializer_list<MouseStep> steps);
inline MouseStep MoveTo(POINT p) { return {MouseStep::kMove, p}; }
inline MouseStep Press() { return {MouseStep::kPress, {}}; }
inline MouseStep Release() { return {MouseStep::kRelease, {}}; }
// A click at a screen point.
void ClickAt(POINT screen);

}  // namespace vorrik::test
