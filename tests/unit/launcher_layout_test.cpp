// The launcher's stored positions, placed in their containers, give the
// client-area rectangles the launcher is designed with.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "windows/description.h"

namespace vorrik {
namespace {

struct Rect {
  int left, top, right, bottom;
  bool operator==(const Rect&) const = default;
};

// Positions are relative to the container; containers may nest.
Rect ClientRect(const ControlTable& table, uint32_t index) {
  auto record = DecodeControlRecord(table.Record(index));
  Rect r{record->left, record->top, record->left + record->width, record->top + record->height};
  for (uint32_t parent = record->parent; parent != 0;) {
    auto container = DecodeControlRecord(table.Record(*table.IndexOf(parent)));
    r = {r.left + container->left, r.top + container->top, r.right + container->left, r.bottom + container->top};
    parent = container->parent;
  }
  return r;
}

TEST(LauncherLayout, ControlsSitAtTheirClientRectangles) {
  std::ifstream in(VORRIK_SET_FILE, std::ios::binary);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  auto set = DecodeDescriptionSet(bytes);
  ASSERT_TRUE(set);
  const ControlTable& launcher = set->windows[0].table;
  struct Case {
    uint32_t id;
    Rect expected;
  } cases[] = {
      {0x1601000D, {384, 216, 560, 264}}, {0x1601000C, {376, 32, 560, 120}}, {0x1601000B, {24, 200, 320, 272}},
      {0x1601000A, {80, 88, 248, 128}},   {0x16010008, {80, 24, 248, 64}},   {0x16010007, {360, 168, 584, 312}},
      {0x16010005, {360, 0, 584, 160}},   {0x16010003, {8, 168, 352, 312}},  {0x16010002, {8, 0, 352, 160}},
  };
  for (const auto& c : cases) {
    auto index = launcher.IndexOf(c.id);
    ASSERT_TRUE(index) << std::hex << c.id;
    EXPECT_EQ(ClientRect(launcher, *index), c.expected) << std::hex << c.id;
  }
}

}  // namespace
}  // namespace vorrik
