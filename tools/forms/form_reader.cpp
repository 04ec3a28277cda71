#include "tools/forms/form_reader.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <utility>

#include "windows/byte_io.h"
#include "windows/forms/handler_names.h"

namespace vorrik::forms {
namespace {

constexpr std::pair<std::string_view, uint32_t> kKinds[] = {
    {"window", kKindWindow}, {"menu", kKindMenuItem}, {"GroupBox", kKindGroupBox},     {"Label", kKindLabel},
    {"Button", kKindButton}, {"Timer", kKindTimer},   {"HtmlViewer", kKindHtmlViewer},
};
constexpr std::pair<std::string_view, uint32_t> kStateFlags[] = {
    {"visible", kStateVisible}, {"disabled", kStateDisabled}, {"tabstop", kStateTabStop}};
constexpr std::pair<std::string_view, uint32_t> kMenuFlags[] = {
    {"hidden", kMenuHidden}, {"disabled", kMenuDisabled}, {"checked", kMenuChecked}};

struct Entry {
  Where where;
  uint32_t id = 0;
  uint32_t kind = 0;
  std::set<std::string> keys;
  ControlRecord control;
  MenuItemRecord menu;
  std::unique_ptr<SettingsForm> settings;  // null for "settings none"
  bool IsMenu() const { return kind == kKindMenuItem; }
};

void Expect(const Line& line, size_t values) {
  if (line.tokens.size() != values + 1)
    line.where.Fail(line.tokens[0].text + " takes " + std::to_string(values) + " value(s)");
}

const std::string& QuotedValue(const Line& line) {
  Expect(line, 1);
  if (!line.tokens[1].quoted) line.where.Fail(line.tokens[0].text + " takes a quoted text");
  return line.tokens[1].text;
}

uint32_t NumberValue(const Line& line) {
  Expect(line, 1);
  return ParseU32(line.tokens[1], line.where);
}

uint32_t ParseFlags(const Line& line, std::span<const std::pair<std::string_view, uint32_t>> names) {
  if (line.tokens.size() == 2 && line.tokens[1].text == "none") return 0;
  if (line.tokens.size() < 2) line.where.Fail(line.tokens[0].text + " takes 'none' or flag names");
  uint32_t flags = 0;
  for (const auto& token : std::span(line.tokens).subspan(1)) {
    auto found = std::find_if(names.begin(), names.end(), [&](const auto& n) { return n.first == token.text; });
    if (found == names.end()) line.where.Fail("unknown flag '" + token.text + "'");
    flags |= found->second;
  }
  return flags;
}

int32_t ParseHandler(const Token& token, const Where& where) {
  if (token.text == "none" && !token.quoted) return kNoHandler;
  if (auto key = FindHandlerKey(token.text)) return *key;
  std::string message = "unknown handler '" + token.text + "'; the handlers are";
  for (auto name : HandlerNames()) message.append(" ").append(name);
  where.Fail(message);
}

void ReadPosition(Entry& e, const Line& line) {
  Expect(line, 4);
  int32_t* fields[] = {&e.control.left, &e.control.top, &e.control.width, &e.control.height};
  for (size_t i = 0; i < 4; ++i) *fields[i] = ParseI32(line.tokens[i + 1], line.where);
}

void ReadParent(Entry& e, const Line& line) {
  Expect(line, 1);
  e.control.parent = line.tokens[1].text == "window" ? 0 : ParseU32(line.tokens[1], line.where);
}

void ReadChildren(Entry& e, const Line& line) {
  if (line.tokens.size() < 2) line.where.Fail("children takes identifiers");
  for (const auto& token : std::span(line.tokens).subspan(1)) e.control.children.push_back(ParseU32(token, line.where));
}

void ReadPointer(Entry& e, const Line& line) {
  ByteWriter block;
  block.U32(NumberValue(line));
  e.control.mousePointer = block.Take();
}

void ReadBinding(Entry& e, const Line& line) {
  Expect(line, 2);
  e.control.bindings.push_back({ParseU32(line.tokens[1], line.where), ParseHandler(line.tokens[2], line.where)});
}

void ReadMenuHandler(Entry& e, const Line& line) {
  Expect(line, 1);
  e.menu.handler = ParseHandler(line.tokens[1], line.where);
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

struct KeyRule {
  std::string_view key;
  bool required;
  void (*read)(Entry&, const Line&);
};

const KeyRule kControlKeys[] = {
    {"position", true, ReadPosition},
    {"parent", true, ReadParent},
    {"state", true, [](Entry& e, const Line& l) { e.control.state = ParseFlags(l, kStateFlags); }},
    {"tab", true, [](Entry& e, const Line& l) { e.control.tabOrder = NumberValue(l); }},
    {"children", false, ReadChildren},
    {"pointer", false, ReadPointer},
    {"tag", false, [](Entry& e, const Line& l) { e.control.tag = QuotedValue(l); }},
    {"remark", false, [](Entry& e, const Line& l) { e.control.remark = QuotedValue(l); }},
    {"on", false, ReadBinding},
};

const KeyRule kMenuKeys[] = {
    {"level", true, [](Entry& e, const Line& l) { e.menu.level = NumberValue(l); }},
    {"shortcut", true, [](Entry& e, const Line& l) { e.menu.shortcut = NumberValue(l); }},
    {"flags", true, [](Entry& e, const Line& l) { e.menu.flags = ParseFlags(l, kMenuFlags); }},
    {"title", true, [](Entry& e, const Line& l) { e.menu.title = QuotedValue(l); }},
    {"handler", true, ReadMenuHandler},
    {"remark", false, [](Entry& e, const Line& l) { e.menu.remark = QuotedValue(l); }},
};

std::span<const KeyRule> KeysOf(const Entry& e) {
  if (e.IsMenu()) return kMenuKeys;
  return kControlKeys;
}

class FormParser {
 public:
  explicit FormParser(const SearchPath& files) : files_(files) {}
  WindowForm Parse(const std::vector<Line>& lines, const std::string& file);

 private:
  void TopLine(const Line& line);
  void WindowLine(const Line& line);
  void HeaderLine(const Line& line);
  void EntryLine(const Line& line);
  void EntryKey(Entry& e, const Line& line);
  void SettingsLine(Entry& e, const Line& line);
  std::vector<uint8_t> Finish(Entry& e) const;
  void CheckTable() const;
  void CheckContainers() const;
  const Entry* Find(uint32_t id) const;

  const SearchPath& files_;
  WindowForm form_;
  bool haveWindow_ = false, haveHeader_ = false;
  std::vector<Entry> entries_;
};

WindowForm FormParser::Parse(const std::vector<Line>& lines, const std::string& file) {
  for (const auto& line : lines) {
    if (line.tokens[0].text == "entry" || entries_.empty())
      TopLine(line);
    else
      EntryKey(entries_.back(), line);
  }
  const Where end{file, lines.empty() ? 0 : lines.back().where.line};
  if (!haveWindow_) end.Fail("the form has no 'window' line");
  if (!haveHeader_) end.Fail("the form has no 'header' line");
  if (entries_.empty()) end.Fail("the form has no entries");
  CheckTable();
  std::vector<uint32_t> ids;
  std::vector<std::vector<uint8_t>> records;
  for (auto& e : entries_) {
    ids.push_back(e.id);
    records.push_back(Finish(e));
  }
  form_.description.table = ControlTable::Make(ids, records);
  return std::move(form_);
}

void FormParser::TopLine(const Line& line) {
  const std::string& word = line.tokens[0].text;
  if (word == "window") return WindowLine(line);
  if (word == "header") return HeaderLine(line);
  if (word == "entry") return EntryLine(line);
  line.where.Fail("expected 'window', 'header' or 'entry', got '" + word + "'");
}

void FormParser::WindowLine(const Line& line) {
  Expect(line, 2);
  if (haveWindow_) line.where.Fail("second 'window' line");
  form_.id = ParseU32(line.tokens[1], line.where);
  if (!IsValidIdentifier(form_.id)) line.where.Fail("not a valid identifier");
  form_.name = line.tokens[2].text;
  haveWindow_ = true;
}

void FormParser::HeaderLine(const Line& line) {
  Expect(line, 4);
  if (haveHeader_) line.where.Fail("second 'header' line");
  if (!line.tokens[3].quoted || !line.tokens[4].quoted) line.where.Fail("header texts must be quoted");
  form_.description.header1 = ParseU32(line.tokens[1], line.where);
  form_.description.header2 = ParseU32(line.tokens[2], line.where);
  form_.description.headerText1 = line.tokens[3].text;
  form_.description.headerText2 = line.tokens[4].text;
  haveHeader_ = true;
}

void FormParser::EntryLine(const Line& line) {
  Expect(line, 3);
  Entry e;
  e.where = line.where;
  e.id = ParseU32(line.tokens[1], line.where);
  auto kind =
      std::find_if(std::begin(kKinds), std::end(kKinds), [&](auto& k) { return k.first == line.tokens[2].text; });
  if (kind == std::end(kKinds)) line.where.Fail("unknown kind '" + line.tokens[2].text + "'");
  e.kind = e.control.kind = kind->second;
  if (!line.tokens[3].quoted) line.where.Fail("the entry's name must be quoted");
  e.control.name = e.menu.name = line.tokens[3].text;
  entries_.push_back(std::move(e));
}

void FormParser::EntryKey(Entry& e, const Line& line) {
  if (e.keys.contains("settings")) return SettingsLine(e, line);
  const std::string& key = line.tokens[0].text;
  if (key == "settings" && !e.IsMenu()) {
    Expect(line, 1);
    if (line.tokens[1].text != "none")
      e.settings = SettingsForm::ForKind(e.kind, ParseU32(line.tokens[1], line.where), line.where, files_);
    e.keys.insert(key);
    return;
  }
  auto rules = KeysOf(e);
  auto rule = std::find_if(rules.begin(), rules.end(), [&](const KeyRule& r) { return r.key == key; });
  if (rule == rules.end()) line.where.Fail("unknown key '" + key + "'");
  if (!e.keys.insert(key).second && key != "on") line.where.Fail("key '" + key + "' given twice");
  rule->read(e, line);
}

void FormParser::SettingsLine(Entry& e, const Line& line) {
  if (!e.settings) line.where.Fail("an empty settings block has no fields");
  e.settings->Set(line);
}

std::vector<uint8_t> FormParser::Finish(Entry& e) const {
  for (const auto& rule : KeysOf(e))
    if (rule.required && !e.keys.contains(std::string(rule.key)))
      e.where.Fail("entry lacks '" + std::string(rule.key) + "'");
  if (e.IsMenu()) return EncodeMenuItemRecord(e.menu);
  if (!e.keys.contains("settings")) e.where.Fail("entry lacks 'settings'");
  if (e.settings) e.control.settings = e.settings->Encode(e.where);
  return EncodeControlRecord(e.control);
}

const Entry* FormParser::Find(uint32_t id) const {
  for (const auto& e : entries_)
    if (e.id == id) return &e;
  return nullptr;
}

void FormParser::CheckTable() const {
  if (entries_[0].kind != kKindWindow) entries_[0].where.Fail("the first entry must be the window itself");
  std::set<uint32_t> seen;
  bool runEnded = false;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    if (!IsValidIdentifier(e.id)) e.where.Fail("not a valid identifier");
    if (!seen.insert(e.id).second) e.where.Fail("identifier used twice");
    if (i > 0 && e.kind == kKindWindow) e.where.Fail("only the first entry is the window");
    if (e.IsMenu() != IsMenuItemIdentifier(e.id)) e.where.Fail("menu items, and only they, take 0x26 identifiers");
    if (runEnded && e.IsMenu()) e.where.Fail("the menu items must be one run of entries");
    runEnded = runEnded || (i > 0 && !e.IsMenu() && entries_[i - 1].IsMenu());
  }
  CheckContainers();
}

// Parents and child lists must describe the same containment.
void FormParser::CheckContainers() const {
  for (size_t i = 1; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    if (e.IsMenu()) continue;
    const Entry* parent = e.control.parent ? Find(e.control.parent) : nullptr;
    if (e.control.parent && (!parent || parent->IsMenu() || parent == &entries_[0]))
      e.where.Fail("parent is not a control of this window");
    for (uint32_t child : e.control.children) {
      if (child == 0) continue;  // ends the first page
      const Entry* held = Find(child);
      if (!held || held->IsMenu() || held->control.parent != e.id)
        e.where.Fail("child " + Hex(child) + " does not name this entry as its parent");
    }
    if (parent && std::find(parent->control.children.begin(), parent->control.children.end(), e.id) ==
                      parent->control.children.end())
      e.where.Fail("the parent does not list this entry among its children");
  }
}

}  // namespace

WindowForm ParseForm(std::string_view content, const std::string& file, const Defines& defines,
                     const SearchPath& files) {
  return FormParser(files).Parse(SplitForm(content, file, defines), file);
}

WindowForm ReadForm(const std::filesystem::path& file, const Defines& defines, const SearchPath& files) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw FormError(file.string() + ": cannot read the form");
  std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  SearchPath withOwnDirectory{file.parent_path()};
  withOwnDirectory.insert(withOwnDirectory.end(), files.begin(), files.end());
  return ParseForm(content, file.string(), defines, withOwnDirectory);
}

}  // namespace vorrik::forms
