// Our skin engine, SkinH_EL.dll as built: its export directory, and what it
// keeps of the skins it is given.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "skin/skin_table.h"
#include "skin/stack_checked_call.h"
#include "skinengine/skin_engine.h"
#include "skinengine/skin_format.h"
#include "tests/win/skin_test_support.h"

namespace vorrik {
namespace {

using engine::AttachResult;

class SkinEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = LoadLibraryA(test::BuiltEngineFile().c_str());
    ASSERT_NE(library_, nullptr) << test::BuiltEngineFile();
    attach_ = GetProcAddress(library_, "SkinH_AttachRes");
    colour_ = test::Export<engine::ColourFunction>(library_, "SkinEngine_Colour");
    metric_ = test::Export<engine::MetricFunction>(library_, "SkinEngine_Metric");
    image_ = test::Export<engine::ImageFunction>(library_, "SkinEngine_Image");
    ASSERT_TRUE(attach_ && colour_ && metric_ && image_);
  }
  void TearDown() override { FreeLibrary(library_); }

  // Through the program's own call path: the engine must remove its six
  // arguments itself.
  int32_t Attach(const uint8_t* skin, uint32_t size, const char* classes = "", uint32_t flags = 0,
                 uint32_t thread = 0, uint32_t reserved = 0) {
    const uint32_t args[] = {Word(skin), size, Word(classes), flags, thread, reserved};
    bool balanced = false;
    const uint32_t result = CallWithStackCheck(attach_, args, 6, &balanced);
    EXPECT_TRUE(balanced);
    return static_cast<int32_t>(result);
  }
  static uint32_t Word(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

  HMODULE library_ = nullptr;
  FARPROC attach_ = nullptr;
  engine::ColourFunction colour_ = nullptr;
  engine::MetricFunction metric_ = nullptr;
  engine::ImageFunction image_ = nullptr;
};

std::vector<uint8_t> SkinCopy(int32_t n) {
  const std::span<const uint8_t> skin = BuiltinSkinData(n);
  return {skin.begin(), skin.end()};
}

TEST_F(SkinEngine, ExportDirectoryNamesTheLibraryAndItsAttachCall) {
  auto base = reinterpret_cast<const uint8_t*>(library_);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
  const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  ASSERT_NE(entry.VirtualAddress, 0u);
  auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  EXPECT_STREQ(reinterpret_cast<const char*>(base + exports->Name), "SkinH_EL.dll");
  std::vector<std::string> names;
  auto nameTable = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i)
    names.push_back(reinterpret_cast<const char*>(base + nameTable[i]));
  EXPECT_NE(std::find(names.begin(), names.end(), "SkinH_AttachRes"), names.end());
}

TEST_F(SkinEngine, KeepsItsOwnCopyOfEveryBuiltinSkin) {
  for (int32_t n = 1; n <= kBuiltinSkinCount; ++n) {
    SCOPED_TRACE("skin " + std::to_string(n));
    skin::SkinView expected;
    const std::vector<uint8_t> reference = SkinCopy(n);  // what expected points into
    ASSERT_EQ(skin::ReadSkin(reference, expected), skin::ReadResult::kOk);

    std::vector<uint8_t> given = SkinCopy(n);
    ASSERT_EQ(Attach(given.data(), uint32_t(given.size())), engine::kAttached);
    std::fill(given.begin(), given.end(), 0xCC);  // the caller reuses its bytes at once
    const uint8_t* givenStart = given.data();
    const size_t givenSize = given.size();
    given.clear();
    given.shrink_to_fit();

    for (uint32_t i = 0; i < skin::kColourCount; ++i) EXPECT_EQ(colour_(i), expected.colours[i]) << "colour " << i;
    for (uint32_t i = 0; i < skin::kMetricCount; ++i) EXPECT_EQ(metric_(i), expected.metrics[i]) << "metric " << i;
    EXPECT_EQ(colour_(skin::kColourCount), engine::kNoColour);
    for (uint32_t role = skin::kImageNone + 1; role < skin::kImageRoleLimit; ++role) {
      const skin::Image& image = expected.images[role];
      uint32_t width = 0, height = 0;
      const uint8_t* pixels = nullptr;
      EXPECT_EQ(image_(role, &width, &height, &pixels), image.format) << "role " << role;
      EXPECT_EQ(width, image.width);
      EXPECT_EQ(height, image.height);
      if (!image.present()) continue;
      ASSERT_NE(pixels, nullptr);
      EXPECT_TRUE(pixels + image.pixels.size() <= givenStart || pixels >= givenStart + givenSize);
      EXPECT_EQ(std::memcmp(pixels, image.pixels.data(), image.pixels.size()), 0) << "role " << role;
    }
  }
}

TEST_F(SkinEngine, RefusesWhatItCannotUseAndThenDrawsNothing) {
  std::vector<uint8_t> good = SkinCopy(8);
  std::vector<uint8_t> badSignature = good, badVersion = good, malformed = good;
  badSignature[1] = 'X';
  badVersion[6] = 2;
  malformed.push_back(0);  // a byte after the end chunk
  const std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
  const struct {
    const char* what;
    const uint8_t* skin;
    uint32_t size;
    uint32_t flags, reserved;
    int32_t expected;
  } cases[] = {
      {"no skin", nullptr, 0, 0, 0, engine::kNoSkin},
      {"a length of 0", good.data(), 0, 0, 0, engine::kNoSkin},
      {"another signature", badSignature.data(), uint32_t(badSignature.size()), 0, 0, 2},
      {"a later version", badVersion.data(), uint32_t(badVersion.size()), 0, 0, 3},
      {"a skin cut short", truncated.data(), uint32_t(truncated.size()), 0, 0, 4},
      {"bytes past the end", malformed.data(), uint32_t(malformed.size()), 0, 0, 5},
      {"unknown flags", good.data(), uint32_t(good.size()), 4, 0, engine::kBadArgument},
      {"a reserved word", good.data(), uint32_t(good.size()), 0, 1, engine::kBadArgument},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Attach(good.data(), uint32_t(good.size())), engine::kAttached);
    ASSERT_NE(colour_(skin::kFace), engine::kNoColour);
    EXPECT_EQ(Attach(c.skin, c.size, "", c.flags, 0, c.reserved), c.expected) << c.what;
    EXPECT_EQ(colour_(skin::kFace), engine::kNoColour) << c.what;
    EXPECT_EQ(metric_(skin::kCaptionHeight), -1) << c.what;
    EXPECT_EQ(image_(skin::kCaptionGlyphs, nullptr, nullptr, nullptr), 0u) << c.what;
  }
  // Known flags, a thread and excluded classes are taken.
  EXPECT_EQ(Attach(good.data(), uint32_t(good.size()), "Edit;Static", engine::kLeaveMenus | engine::kLeaveButtons,
                   GetCurrentThreadId()),
            engine::kAttached);
  EXPECT_EQ(Attach(good.data(), uint32_t(good.size()), nullptr), engine::kAttached);
}

}  // namespace
}  // namespace vorrik
