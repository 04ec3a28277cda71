// The window's background picture in each placement, decoded from bitmap,
// icon and GIF files, and its background sound: the calls the player gets,
// which sound a closing window stops, and blocks that must not reach it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/shell_state.h"
#include "tests/win/kind_test_support.h"
#include "windows/kinds/background_sound.h"
#include "windows/kinds/kind_gdi.h"
#include "windows/kinds/window.h"
#include "windows/kinds/window_settings.h"

#include <mmsystem.h>

namespace vorrik {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 160, 0);

// Own property indices of the window kind.
constexpr int32_t kBackPicture = 3, kPictureMode = 4, kBackMusic = 5, kMusicRepeat = 6;

// A frameless window straight from the kind, so that its client area is the
// whole window; destroyed with the object. It belongs to no loaded window
// description, so its events are held: nothing could receive them.
class KindWindow {
 public:
  KindWindow(const WindowSettings& settings, int width, int height) : block_(EncodeWindowSettings(settings)) {
    CreateArguments args;
    args.settings = block_;
    args.width = width;
    args.height = height;
    window_ = WindowKind().Create(args);
  }
  ~KindWindow() { Destroy(); }
  KindWindow(const KindWindow&) = delete;
  KindWindow& operator=(const KindWindow&) = delete;
  HWND get() const { return window_; }
  void Destroy() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
  }

 private:
  EventHold hold_;
  std::vector<uint8_t> block_;
  HWND window_ = nullptr;
};

WindowSettings PictureWindow(std::vector<uint8_t> picture, uint32_t mode) {
  WindowSettings s;
  s.borderStyle = 0;
  s.backColor = kGreen;
  s.backPicture = std::move(picture);
  s.pictureMode = mode;
  return s;
}

// Red on the left half, blue on the right.
std::vector<uint8_t> HalvesBmp(int width, int height) {
  return test::BmpFile(width, height, [width](int x, int) { return x < width / 2 ? kRed : kBlue; });
}

// A 1 x 1 GIF whose only pixel is red: a format that only the OLE decoder knows.
const std::vector<uint8_t> kRedGif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,  // screen, 2 colours
                                      0xFF, 0, 0, 0, 0, 0,                                    // red, black
                                      0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0,                        // the image
                                      2, 2, 0x44, 0x01, 0,                                    // its pixel, index 0
                                      0x3B};

struct Probe {
  int x, y;
  COLORREF colour;
};

TEST(WindowPicture, DrawnByPictureModeOverTheBackColour) {
  struct Case {
    const char* what;
    std::vector<uint8_t> picture;
    uint32_t mode;
    std::vector<Probe> probes;
  } cases[] = {
      {"top-left", HalvesBmp(20, 10), 0, {{0, 0, kRed}, {15, 5, kBlue}, {25, 5, kGreen}, {5, 15, kGreen}}},
      {"tiled", HalvesBmp(20, 10), 1, {{25, 5, kRed}, {35, 15, kBlue}, {99, 59, kBlue}, {80, 50, kRed}}},
      {"centred", HalvesBmp(20, 10), 2, {{40, 25, kRed}, {55, 34, kBlue}, {39, 25, kGreen}, {60, 30, kGreen}}},
      {"centred and shrunk to fit", HalvesBmp(200, 20), 2,
       {{20, 30, kRed}, {80, 30, kBlue}, {50, 20, kGreen}, {50, 40, kGreen}}},
      {"stretched", HalvesBmp(20, 10), 3, {{2, 2, kRed}, {30, 57, kRed}, {70, 2, kBlue}, {97, 57, kBlue}}},
      {"icon, tiled", test::IconFile(16, kBlue, 16), 1, {{0, 0, kBlue}, {20, 20, kBlue}, {99, 59, kBlue}}},
      {"icon, top-left", test::IconFile(16, kBlue, 16), 0, {{15, 15, kBlue}, {16, 5, kGreen}}},
      {"icon with clear columns, tiled", test::IconFile(16, kBlue, 8), 1,
       {{4, 4, kBlue}, {12, 4, kGreen}, {20, 20, kBlue}, {28, 20, kGreen}, {94, 59, kGreen}, {87, 50, kBlue}}},
      {"GIF, tiled", kRedGif, 1, {{0, 0, kRed}, {57, 33, kRed}, {99, 59, kRed}}},
      {"GIF, top-left", kRedGif, 0, {{0, 0, kRed}, {1, 0, kGreen}, {0, 1, kGreen}}},
      {"undecodable", {'B', 'M', 1, 2, 3}, 1, {{0, 0, kGreen}, {50, 30, kGreen}}},
  };
  for (const auto& c : cases) {
    KindWindow window(PictureWindow(c.picture, c.mode), 100, 60);
    ASSERT_TRUE(window.get()) << c.what;
    test::PrintedControl printed(window.get());
    ASSERT_EQ(printed.width(), 100) << c.what;
    for (const auto& p : c.probes)
      EXPECT_EQ(printed.At(p.x, p.y), p.colour) << c.what << " at " << p.x << "," << p.y;
  }
}

TEST(WindowPicture, WritesReplaceThePictureAndClampTheMode) {
  KindWindow window(PictureWindow({}, 1), 100, 60);
  ASSERT_TRUE(window.get());
  const KindEntryPoints& kind = WindowKind();
  const auto picture = HalvesBmp(20, 10);
  const auto block = BufferOfBytes(picture);
  kind.SetProperty(window.get(), kBackPicture, test::BlockValue(block));
  EXPECT_EQ(test::BytesOfValue(kind.GetProperty(window.get(), kBackPicture)), picture);
  EXPECT_EQ(test::PrintedControl(window.get()).At(25, 5), kRed);  // tiled

  struct Case {
    int32_t written;
    uint32_t stored;
  } modes[] = {{0, 0}, {3, 3}, {4, 3}, {-1, 0}};
  for (const auto& m : modes) {
    kind.SetProperty(window.get(), kPictureMode, static_cast<uint32_t>(m.written));
    EXPECT_EQ(kind.GetProperty(window.get(), kPictureMode), m.stored) << m.written;
  }
  EXPECT_EQ(test::PrintedControl(window.get()).At(25, 5), kGreen);  // top-left: beside the picture

  const std::vector<uint8_t> none = BufferOfBytes({});
  kind.SetProperty(window.get(), kBackPicture, test::BlockValue(none));
  EXPECT_EQ(test::PrintedControl(window.get()).Count(kGreen), 100 * 60);
}

// ---- background sound

// A second of 8-bit mono silence at 8 kHz as a wave file.
std::vector<uint8_t> SilentWave() {
  std::vector<uint8_t> out;
  auto put = [&out](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  auto tag = [&out](const char* t) { out.insert(out.end(), t, t + 4); };
  constexpr uint32_t kSamples = 8000;
  tag("RIFF");
  put(4 + 8 + 16 + 8 + kSamples, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(WAVE_FORMAT_PCM, 2);
  put(1, 2);      // mono
  put(8000, 4);   // samples per second
  put(8000, 4);   // bytes per second
  put(1, 2);      // block alignment
  put(8, 2);      // bits per sample
  tag("data");
  put(kSamples, 4);
  out.resize(out.size() + kSamples, 0x80);
  return out;
}

struct SoundCall {
  std::vector<uint8_t> wave;  // empty for a stop
  DWORD flags;
  bool operator==(const SoundCall&) const = default;
};
std::vector<SoundCall> g_soundCalls;
BOOL g_playerTakesIt = TRUE;

BOOL WINAPI RecordSound(LPCSTR sound, HMODULE module, DWORD flags) {
  EXPECT_EQ(module, nullptr);
  if (!sound) {
    g_soundCalls.push_back({{}, flags});
    return TRUE;
  }
  // The player gets no length: the file's own RIFF size tells it.
  const auto* bytes = reinterpret_cast<const uint8_t*>(sound);
  uint32_t riffSize = 0;
  std::memcpy(&riffSize, bytes + 4, 4);
  g_soundCalls.push_back({std::vector<uint8_t>(bytes, bytes + 8 + riffSize), flags});
  return g_playerTakesIt;
}

constexpr DWORD kPlayOnce = SND_MEMORY | SND_ASYNC | SND_NODEFAULT;
constexpr DWORD kPlayLooping = kPlayOnce | SND_LOOP;

WindowSettings SoundWindow(std::vector<uint8_t> wave, uint32_t repeat) {
  WindowSettings s;
  s.borderStyle = 0;
  s.backMusic = std::move(wave);
  s.musicRepeat = repeat;
  return s;
}

class WindowSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_soundCalls.clear();
    g_playerTakesIt = TRUE;
  }
  ScopedSoundPlayer player_{RecordSound};
  const std::vector<uint8_t> wave_ = SilentWave();
  const SoundCall stop_{{}, 0};
};

TEST_F(WindowSoundTest, StartsByMusicRepeatAndStopsWhenTheWindowGoes) {
  std::vector<uint8_t> truncated = wave_;
  truncated.resize(truncated.size() - 100);  // its data chunk now reaches past the end
  struct Case {
    const char* what;
    std::vector<uint8_t> wave;
    uint32_t repeat;
    BOOL playerTakesIt;
    std::vector<SoundCall> atCreation, afterDestruction;
  } cases[] = {
      {"loops", wave_, 0, TRUE, {{wave_, kPlayLooping}}, {{wave_, kPlayLooping}, stop_}},
      {"plays once", wave_, 1, TRUE, {{wave_, kPlayOnce}}, {{wave_, kPlayOnce}, stop_}},
      {"does not start by itself", wave_, 2, TRUE, {}, {}},
      {"no sound", {}, 0, TRUE, {}, {}},
      {"not a wave file", {1, 2, 3, 4}, 0, TRUE, {}, {}},
      {"truncated wave file", truncated, 0, TRUE, {}, {}},
      {"refused by the player", wave_, 0, FALSE, {{wave_, kPlayLooping}}, {{wave_, kPlayLooping}}},
  };
  for (const auto& c : cases) {
    g_soundCalls.clear();
    g_playerTakesIt = c.playerTakesIt;
    KindWindow window(SoundWindow(c.wave, c.repeat), 100, 60);
    ASSERT_TRUE(window.get()) << c.what;
    EXPECT_EQ(g_soundCalls, c.atCreation) << c.what;
    window.Destroy();
    EXPECT_EQ(g_soundCalls, c.afterDestruction) << c.what;
  }
}

TEST_F(WindowSoundTest, ClosingWindowStopsOnlyItsOwnSound) {
  std::vector<uint8_t> otherWave = wave_;
  otherWave[60] = 0x81;  // a sample inside the data chunk
  KindWindow first(SoundWindow(wave_, 0), 100, 60);
  KindWindow second(SoundWindow(otherWave, 1), 100, 60);
  ASSERT_TRUE(first.get() && second.get());
  first.Destroy();  // the system plays one sound: the second replaced the first's
  EXPECT_EQ(g_soundCalls, (std::vector<SoundCall>{{wave_, kPlayLooping}, {otherWave, kPlayOnce}}));
  second.Destroy();
  EXPECT_EQ(g_soundCalls.size(), 3u);
  EXPECT_EQ(g_soundCalls.back(), stop_);
}

TEST_F(WindowSoundTest, WritingBackMusicStartsItAndAnEmptyOneStopsIt) {
  KindWindow window(SoundWindow({}, 0), 100, 60);
  ASSERT_TRUE(window.get());
  const KindEntryPoints& kind = WindowKind();
  struct Case {
    int32_t written;
    uint32_t stored;
  } repeats[] = {{5, 2}, {-1, 0}, {1, 1}};
  for (const auto& r : repeats) {
    kind.SetProperty(window.get(), kMusicRepeat, static_cast<uint32_t>(r.written));
    EXPECT_EQ(kind.GetProperty(window.get(), kMusicRepeat), r.stored) << r.written;
  }
  const auto block = BufferOfBytes(wave_);
  kind.SetProperty(window.get(), kBackMusic, test::BlockValue(block));
  EXPECT_EQ(test::BytesOfValue(kind.GetProperty(window.get(), kBackMusic)), wave_);
  const auto none = BufferOfBytes({});
  kind.SetProperty(window.get(), kBackMusic, test::BlockValue(none));
  window.Destroy();
  EXPECT_EQ(g_soundCalls, (std::vector<SoundCall>{{wave_, kPlayOnce}, stop_}));
}

// The system's own player, loaded when the first sound starts. Whether
// anything is heard depends on the machine's audio; the window must come and
// go cleanly either way.
TEST(WindowSystemSound, PlayerLibraryLoadedAtRunTime) {
  const bool loadedBefore = GetModuleHandleA("winmm.dll") != nullptr;
  {
    KindWindow window(SoundWindow(SilentWave(), 0), 100, 60);
    ASSERT_TRUE(window.get());
    EXPECT_TRUE(GetModuleHandleA("winmm.dll")) << "loaded before: " << loadedBefore;
  }
  KindWindow again(SoundWindow(SilentWave(), 1), 100, 60);
  EXPECT_TRUE(again.get());
}

}  // namespace
}  // namespace vorrik
