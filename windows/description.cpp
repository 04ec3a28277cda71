#include "windows/description.h"

#include "windows/byte_io.h"

namespace vorrik {
namespace {

constexpr int kReservedHead = 5, kReservedTail = 5, kMenuReservedTail = 4;

void SkipWords(ByteReader& in, int count) {
  for (int i = 0; i < count; ++i) in.U32();
}

std::vector<uint8_t> ToVector(std::span<const uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

// Fields 1 to 18 of a control record, up to the binding count.
void ReadControlHead(ByteReader& in, ControlRecord& out) {
  out.kind = in.U32();
  SkipWords(in, kReservedHead);
  out.name = in.ZeroText();
  out.remark = in.ZeroText();
  out.objectSlot = in.U32();
  out.left = in.I32();
  out.top = in.I32();
  out.width = in.I32();
  out.height = in.I32();
  out.pointerSlot = in.U32();
  out.parent = in.U32();
  uint32_t children = in.U32();
  for (uint32_t i = 0; i < children && in.ok(); ++i) out.children.push_back(in.U32());
  out.mousePointer = ToVector(in.Block());
  out.tag = in.ZeroText();
  in.U32();
  out.state = in.U32();
  out.tabOrder = in.U32();
}

std::vector<EventBinding> ReadBindingList(ByteReader& in) {
  std::vector<EventBinding> bindings;
  uint32_t count = in.U32();
  for (uint32_t i = 0; i < count && in.ok(); ++i) {
    EventBinding binding;
    binding.event = in.U32();
    binding.handler = in.I32();
    bindings.push_back(binding);
  }
  return bindings;
}

void ReadMenuHead(ByteReader& in, MenuItemRecord& out) {
  in.U32();  // kind
  SkipWords(in, kReservedHead);
  out.name = in.ZeroText();
  out.remark = in.ZeroText();
  out.shortcut = in.U32();
  out.level = in.U32();
  out.flags = in.U32();
  out.title = in.ZeroText();
}

}  // namespace

bool IsValidIdentifier(uint32_t id) { return (id & 0x00FFFFFF) != 0 && (id & 0x0F000000) != 0; }

bool IsMenuItemIdentifier(uint32_t id) { return (id >> 28) == 2 && ((id >> 24) & 0xF) == 6; }

std::optional<ControlRecord> DecodeControlRecord(std::span<const uint8_t> record) {
  ByteReader in(record);
  ControlRecord out;
  ReadControlHead(in, out);
  out.bindings = ReadBindingList(in);
  SkipWords(in, kReservedTail);
  out.settings = ToVector(in.Rest());
  if (!in.ok()) return std::nullopt;
  return out;
}

std::optional<MenuItemRecord> DecodeMenuItemRecord(std::span<const uint8_t> record) {
  ByteReader in(record);
  MenuItemRecord out;
  ReadMenuHead(in, out);
  out.handler = in.I32();
  SkipWords(in, kMenuReservedTail);
  if (!in.ok()) return std::nullopt;
  return out;
}

std::optional<std::vector<EventBinding>> ReadBindings(std::span<const uint8_t> record) {
  ByteReader in(record);
  ControlRecord head;
  ReadControlHead(in, head);
  auto bindings = ReadBindingList(in);
  if (!in.ok()) return std::nullopt;
  return bindings;
}

std::optional<int32_t> ReadMenuHandler(std::span<const uint8_t> record) {
  ByteReader in(record);
  MenuItemRecord head;
  ReadMenuHead(in, head);
  int32_t handler = in.I32();
  if (!in.ok()) return std::nullopt;
  return handler;
}

std::vector<uint8_t> EncodeControlRecord(const ControlRecord& r) {
  ByteWriter out;
  out.U32(r.kind);
  for (int i = 0; i < kReservedHead; ++i) out.U32(0);
  out.ZeroText(r.name);
  out.ZeroText(r.remark);
  out.U32(r.objectSlot);
  out.I32(r.left);
  out.I32(r.top);
  out.I32(r.width);
  out.I32(r.height);
  out.U32(r.pointerSlot);
  out.U32(r.parent);
  out.U32(static_cast<uint32_t>(r.children.size()));
  for (uint32_t child : r.children) out.U32(child);
  out.Block(r.mousePointer);
  out.ZeroText(r.tag);
  out.U32(0);
  out.U32(r.state);
  out.U32(r.tabOrder);
  out.U32(static_cast<uint32_t>(r.bindings.size()));
  for (const auto& b : r.bindings) {
    out.U32(b.event);
    out.I32(b.handler);
  }
  for (int i = 0; i < kReservedTail; ++i) out.U32(0);
  out.Bytes(r.settings);
  return out.Take();
}

std::vector<uint8_t> EncodeMenuItemRecord(const MenuItemRecord& r) {
  ByteWriter out;
  out.U32(kKindMenuItem);
  for (int i = 0; i < kReservedHead; ++i) out.U32(0);
  out.ZeroText(r.name);
  out.ZeroText(r.remark);
  out.U32(r.shortcut);
  out.U32(r.level);
  out.U32(r.flags);
  out.ZeroText(r.title);
  out.I32(r.handler);
  for (int i = 0; i < kMenuReservedTail; ++i) out.U32(0);
  return out.Take();
}

// ---- ControlTable

std::optional<ControlTable> ControlTable::Decode(uint32_t count, std::span<const uint8_t> body) {
  ControlTable table;
  table.count_ = count;
  if (count > body.size() / 8) return std::nullopt;
  table.body_.assign(body.begin(), body.end());
  // Every offset must point at a length word whose record lies inside the body.
  const size_t recordsSize = body.size() - table.RecordsStart();
  for (uint32_t i = 0; i < count; ++i) {
    size_t offset = table.Offset(i);
    if (offset > recordsSize || recordsSize - offset < 4) return std::nullopt;
    size_t length = LoadU32(table.body_.data() + table.RecordsStart() + offset);
    if (length > recordsSize - offset - 4) return std::nullopt;
  }
  return table;
}

ControlTable ControlTable::Make(const std::vector<uint32_t>& ids, const std::vector<std::vector<uint8_t>>& records) {
  ByteWriter out;
  for (uint32_t id : ids) out.U32(id);
  uint32_t offset = 0;
  for (const auto& record : records) {
    out.U32(offset);
    offset += 4 + static_cast<uint32_t>(record.size());
  }
  for (const auto& record : records) out.Block(record);
  ControlTable table;
  table.count_ = static_cast<uint32_t>(ids.size());
  table.body_ = out.Take();
  return table;
}

uint32_t ControlTable::Identifier(uint32_t index) const { return LoadU32(body_.data() + size_t(index) * 4); }

uint32_t ControlTable::Offset(uint32_t index) const { return LoadU32(body_.data() + size_t(count_ + index) * 4); }

std::optional<uint32_t> ControlTable::IndexOf(uint32_t id) const {
  for (uint32_t i = 0; i < count_; ++i)
    if (Identifier(i) == id) return i;
  return std::nullopt;
}

std::span<const uint8_t> ControlTable::Record(uint32_t index) const {
  const uint8_t* at = body_.data() + RecordsStart() + Offset(index);
  return {at + 4, LoadU32(at)};
}

uint32_t ControlTable::KindCode(uint32_t index) const {
  auto record = Record(index);
  return record.size() >= 4 ? LoadU32(record.data()) : 0;
}

ControlTable::Run ControlTable::MenuRun() const {
  Run run;
  for (uint32_t i = 0; i < count_; ++i) {
    if (!IsMenuItem(i)) continue;
    run.first = i;
    while (i < count_ && IsMenuItem(i)) ++i, ++run.length;
    break;
  }
  return run;
}

void ControlTable::ReplaceRecord(uint32_t index, std::span<const uint8_t> record) {
  const size_t start = RecordsStart() + Offset(index);
  const uint32_t oldLength = LoadU32(body_.data() + start);
  const int64_t delta = int64_t(record.size()) - int64_t(oldLength);
  std::vector<uint8_t> replacement(4 + record.size());
  for (int i = 0; i < 4; ++i) replacement[i] = static_cast<uint8_t>(record.size() >> (8 * i));
  std::copy(record.begin(), record.end(), replacement.begin() + 4);
  body_.erase(body_.begin() + start, body_.begin() + start + 4 + oldLength);
  body_.insert(body_.begin() + start, replacement.begin(), replacement.end());
  for (uint32_t i = 0; i < count_; ++i) {
    if (Offset(i) <= Offset(index)) continue;
    uint32_t moved = static_cast<uint32_t>(Offset(i) + delta);
    for (int b = 0; b < 4; ++b) body_[size_t(count_ + i) * 4 + b] = static_cast<uint8_t>(moved >> (8 * b));
  }
}

// ---- DescriptionSet

std::optional<DescriptionSet> DecodeDescriptionSet(std::span<const uint8_t> data) {
  ByteReader in(data);
  DescriptionSet set;
  uint32_t directorySize = in.U32();
  uint32_t windows = directorySize / 8;
  if (windows > in.Remaining() / 8) return std::nullopt;
  for (uint32_t i = 0; i < windows; ++i) set.ids.push_back(in.U32());
  for (uint32_t i = 0; i < windows; ++i) set.slots.push_back(in.U32());
  for (uint32_t i = 0; i < windows && in.ok(); ++i) {
    WindowDescription window;
    window.header1 = in.U32();
    window.header2 = in.U32();
    window.headerText1 = in.CountedText();
    window.headerText2 = in.CountedText();
    uint32_t count = in.U32();
    auto body = in.Block();
    if (!in.ok()) return std::nullopt;
    auto table = ControlTable::Decode(count, body);
    if (!table) return std::nullopt;
    window.table = std::move(*table);
    set.windows.push_back(std::move(window));
  }
  if (!in.ok()) return std::nullopt;
  return set;
}

std::vector<uint8_t> EncodeDescriptionSet(const DescriptionSet& set) {
  ByteWriter out;
  out.U32(static_cast<uint32_t>(set.ids.size() * 8));
  for (uint32_t id : set.ids) out.U32(id);
  for (size_t i = 0; i < set.ids.size(); ++i) out.U32(i < set.slots.size() ? set.slots[i] : 0);
  for (const auto& window : set.windows) {
    out.U32(window.header1);
    out.U32(window.header2);
    out.CountedText(window.headerText1);
    out.CountedText(window.headerText2);
    out.U32(window.table.Count());
    out.Block(window.table.Body());
  }
  return out.Take();
}

bool HandlerReferencesValid(const ControlTable& table, size_t handlerCount) {
  auto valid = [handlerCount](int32_t handler) {
    return handler == kNoHandler || (handler >= 0 && static_cast<size_t>(handler) < handlerCount);
  };
  for (uint32_t i = 0; i < table.Count(); ++i) {
    if (table.IsMenuItem(i)) {
      auto handler = ReadMenuHandler(table.Record(i));
      if (!handler || !valid(*handler)) return false;
      continue;
    }
    auto bindings = ReadBindings(table.Record(i));
    if (!bindings) return false;
    for (const auto& binding : *bindings)
      if (!valid(binding.handler)) return false;
  }
  return true;
}

}  // namespace vorrik
