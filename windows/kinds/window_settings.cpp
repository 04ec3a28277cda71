#include "windows/kinds/window_settings.h"

namespace vorrik {
namespace {

// The words present in every version, in stored order.
uint32_t WindowSettings::*const kLeadingWords[] = {
    &WindowSettings::borderStyle,     &WindowSettings::pictureMode, &WindowSettings::backColor,
    &WindowSettings::maxButton,       &WindowSettings::minButton,   &WindowSettings::controlBox,
    &WindowSettings::startPosition,   &WindowSettings::movable,     &WindowSettings::musicRepeat,
    &WindowSettings::enterMovesFocus, &WindowSettings::escCloses,   &WindowSettings::f1OpensHelp,
    &WindowSettings::helpContext,
};

// The words added later, with the version that brought each.
struct LaterWord {
  uint32_t since;
  uint32_t WindowSettings::*field;
};
constexpr LaterWord kLaterWords[] = {
    {2, &WindowSettings::showInTaskbar}, {3, &WindowSettings::dragAnywhere},    {3, &WindowSettings::shape},
    {4, &WindowSettings::alwaysOnTop},   {5, &WindowSettings::keepTitleActive},
};

}  // namespace

std::optional<WindowSettings> DecodeWindowSettings(std::span<const uint8_t> block) {
  WindowSettings s;
  if (block.empty()) return s;
  ByteReader in(block);
  const uint32_t version = in.U32();
  if (version > kWindowSettingsVersion) return std::nullopt;
  for (auto field : kLeadingWords) s.*field = in.U32();
  for (const auto& later : kLaterWords)
    if (version >= later.since) s.*later.field = in.U32();
  if (version >= 6) s.className = ReadCountedText(in);
  s.backPicture = ReadByteBlock(in);
  s.icon = ReadByteBlock(in);
  s.backMusic = ReadByteBlock(in);
  s.title = ReadCountedText(in);
  s.helpFile = ReadCountedText(in);
  if (!in.ok()) return std::nullopt;
  return s;
}

std::vector<uint8_t> EncodeWindowSettings(const WindowSettings& s) {
  ByteWriter out;
  out.U32(kWindowSettingsVersion);
  for (auto field : kLeadingWords) out.U32(s.*field);
  for (const auto& later : kLaterWords) out.U32(s.*later.field);
  out.CountedText(s.className);
  out.Block(s.backPicture);
  out.Block(s.icon);
  out.Block(s.backMusic);
  out.CountedText(s.title);
  out.CountedText(s.helpFile);
  return out.Take();
}

}  // namespace vorrik
