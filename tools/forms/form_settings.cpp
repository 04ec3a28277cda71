#include "tools/forms/form_settings.h"

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <variant>

#include "windows/description.h"
#include "windows/kinds/button_settings.h"
#include "windows/kinds/group_box_settings.h"
#include "windows/kinds/html_viewer_settings.h"
#include "windows/kinds/label_settings.h"
#include "windows/kinds/timer_settings.h"
#include "windows/kinds/window_settings.h"

namespace vorrik::forms {
namespace {

template <class S>
using Member = std::variant<uint32_t S::*, int32_t S::*, bool S::*, std::string S::*, std::vector<uint8_t> S::*,
                            std::optional<LogFont> S::*>;

template <class S>
struct Field {
  std::string_view name;
  Member<S> member;
};

template <class S>
struct KindTable {
  std::string_view name;
  uint32_t version;
  std::vector<uint8_t> (*encode)(const S&);
  std::span<const Field<S>> fields;
};

using W = WindowSettings;
const Field<W> kWindowFields[] = {
    {"BorderStyle", &W::borderStyle},
    {"PictureMode", &W::pictureMode},
    {"BackColor", &W::backColor},
    {"MaxButton", &W::maxButton},
    {"MinButton", &W::minButton},
    {"ControlBox", &W::controlBox},
    {"StartPosition", &W::startPosition},
    {"Movable", &W::movable},
    {"MusicRepeat", &W::musicRepeat},
    {"EnterMovesFocus", &W::enterMovesFocus},
    {"EscCloses", &W::escCloses},
    {"F1OpensHelp", &W::f1OpensHelp},
    {"HelpContext", &W::helpContext},
    {"ShowInTaskbar", &W::showInTaskbar},
    {"DragAnywhere", &W::dragAnywhere},
    {"Shape", &W::shape},
    {"AlwaysOnTop", &W::alwaysOnTop},
    {"KeepTitleActive", &W::keepTitleActive},
    {"ClassName", &W::className},
    {"BackPicture", &W::backPicture},
    {"Icon", &W::icon},
    {"BackMusic", &W::backMusic},
    {"Title", &W::title},
    {"HelpFile", &W::helpFile},
};

using L = LabelSettings;
const Field<L> kLabelFields[] = {
    {"TextEffect", &L::textEffect},
    {"FrameWidth", &L::frameWidth},
    {"BorderStyle", &L::borderStyle},
    {"FrameColor1", &L::frameColor1},
    {"FrameColor2", &L::frameColor2},
    {"FrameColor3", &L::frameColor3},
    {"TextColor", &L::textColor},
    {"BackColor", &L::backColor},
    {"PictureMode", &L::pictureMode},
    {"GradientMode", &L::gradientMode},
    {"GradientColor1", &L::gradientColor1},
    {"GradientColor2", &L::gradientColor2},
    {"GradientColor3", &L::gradientColor3},
    {"HAlign", &L::hAlign},
    {"VAlign", &L::vAlign},
    {"WordWrap", &L::wordWrap},
    {"Font", &L::font},
    {"BackPicture", &L::backPicture},
    {"Title", &L::title},
    {"DataSource", &L::dataSource},
    {"DataColumn", &L::dataColumn},
};

using B = ButtonSettings;
const Field<B> kButtonFields[] = {
    {"IsDefault", &B::isDefault}, {"HAlign", &B::hAlign}, {"VAlign", &B::vAlign},
    {"Picture", &B::picture},     {"Font", &B::font},     {"Title", &B::title},
};

using G = GroupBoxSettings;
const Field<G> kGroupBoxFields[] = {
    {"TitleAlign", &G::titleAlign}, {"TextColor", &G::textColor}, {"BackColor", &G::backColor}, {"Font", &G::font},
    {"Title", &G::title},
};

const Field<TimerSettings> kTimerFields[] = {{"Interval", &TimerSettings::interval}};

using H = HtmlViewerSettings;
const Field<H> kHtmlViewerFields[] = {
    {"FontSize", &H::fontSize}, {"Offline", &H::offline}, {"Silent", &H::silent}, {"url", &H::url}};

const KindTable<W> kWindowTable{"WindowSettings", kWindowSettingsVersion, EncodeWindowSettings, kWindowFields};
const KindTable<L> kLabelTable{"LabelSettings", kLabelSettingsVersion, EncodeLabelSettings, kLabelFields};
const KindTable<B> kButtonTable{"ButtonSettings", kButtonSettingsVersion, EncodeButtonSettings, kButtonFields};
const KindTable<G> kGroupBoxTable{"GroupBoxSettings", kGroupBoxSettingsVersion, EncodeGroupBoxSettings,
                                  kGroupBoxFields};
const KindTable<TimerSettings> kTimerTable{"TimerSettings", kTimerSettingsVersion, EncodeTimerSettings, kTimerFields};
const KindTable<H> kHtmlViewerTable{"HtmlViewerSettings", kHtmlViewerSettingsVersion, EncodeHtmlViewerSettings,
                                    kHtmlViewerFields};

// Reads the value tokens of one settings line into the field it names.
class ValueReader {
 public:
  ValueReader(const Line& line, const SearchPath& files)
      : where_(line.where), values_(std::span(line.tokens).subspan(1)), files_(files) {}

  void Read(uint32_t& field) { field = ParseU32(Single(), where_); }
  void Read(int32_t& field) { field = ParseI32(Single(), where_); }
  void Read(bool& field) {
    uint32_t value = ParseU32(Single(), where_);
    if (value > 1) where_.Fail("expected 0 or 1");
    field = value != 0;
  }
  void Read(std::string& field) {
    const Token& token = Single();
    if (!token.quoted) where_.Fail("expected a quoted text, got '" + token.text + "'");
    field = token.text;
  }
  void Read(std::vector<uint8_t>& field);
  void Read(std::optional<LogFont>& field);

 private:
  const Token& Single() const {
    if (values_.size() != 1) where_.Fail("expected one value");
    return values_[0];
  }
  bool IsWord(size_t index, std::string_view word) const {
    return index < values_.size() && !values_[index].quoted && values_[index].text == word;
  }
  std::vector<uint8_t> ReadFile(const std::string& name) const;
  void ReadFontField(LogFont& font, const Token& key, const Token& value) const;

  const Where& where_;
  std::span<const Token> values_;
  const SearchPath& files_;
};

// A byte block: "empty", or "file" and a quoted file name.
void ValueReader::Read(std::vector<uint8_t>& field) {
  if (IsWord(0, "empty") && values_.size() == 1) {
    field.clear();
    return;
  }
  if (!IsWord(0, "file") || values_.size() != 2 || !values_[1].quoted)
    where_.Fail("expected 'empty' or 'file \"name\"'");
  field = ReadFile(values_[1].text);
}

std::vector<uint8_t> ValueReader::ReadFile(const std::string& name) const {
  for (const auto& directory : files_) {
    std::ifstream in(directory / name, std::ios::binary);
    if (in) return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  where_.Fail("cannot find file '" + name + "'");
}

// A font: "none" (the default GUI font), or pairs of a field and its value.
void ValueReader::Read(std::optional<LogFont>& field) {
  if (IsWord(0, "none") && values_.size() == 1) {
    field.reset();
    return;
  }
  if (values_.empty() || values_.size() % 2 != 0) where_.Fail("expected 'none' or pairs of font field and value");
  LogFont font;
  for (size_t i = 0; i < values_.size(); i += 2) ReadFontField(font, values_[i], values_[i + 1]);
  field = font;
}

void ValueReader::ReadFontField(LogFont& font, const Token& key, const Token& value) const {
  const std::pair<std::string_view, int32_t*> words[] = {
      {"height", &font.height},           {"width", &font.width},   {"escapement", &font.escapement},
      {"orientation", &font.orientation}, {"weight", &font.weight},
  };
  const std::pair<std::string_view, uint8_t*> bytes[] = {
      {"italic", &font.italic},   {"underline", &font.underline},           {"strikeout", &font.strikeOut},
      {"charset", &font.charSet}, {"outprecision", &font.outPrecision},     {"clipprecision", &font.clipPrecision},
      {"quality", &font.quality}, {"pitchandfamily", &font.pitchAndFamily},
  };
  if (key.text == "face") {
    if (!value.quoted) where_.Fail("font face must be a quoted text");
    if (!font.SetFace(value.text)) where_.Fail("font face longer than 31 bytes");
    return;
  }
  for (auto [name, field] : words)
    if (key.text == name) return void(*field = ParseI32(value, where_));
  for (auto [name, field] : bytes) {
    if (key.text != name) continue;
    uint32_t number = ParseU32(value, where_);
    if (number > 255) where_.Fail("font field " + key.text + " holds one byte");
    return void(*field = static_cast<uint8_t>(number));
  }
  where_.Fail("unknown font field '" + key.text + "'");
}

template <class S>
class KindSettingsForm : public SettingsForm {
 public:
  KindSettingsForm(const KindTable<S>& table, const SearchPath& files) : table_(table), files_(files) {}

  void Set(const Line& line) override {
    const std::string& name = line.tokens[0].text;
    const Field<S>* field = Find(name);
    if (!field) line.where.Fail("unknown field '" + name + "' of " + std::string(table_.name));
    if (!given_.insert(field->name).second) line.where.Fail("field '" + name + "' given twice");
    ValueReader values(line, files_);
    std::visit([&](auto member) { values.Read(settings_.*member); }, field->member);
  }

  std::vector<uint8_t> Encode(const Where& where) const override {
    std::string missing;
    for (const auto& field : table_.fields)
      if (!given_.contains(field.name)) missing.append(" ").append(field.name);
    if (!missing.empty()) where.Fail(std::string(table_.name).append(" lack").append(missing));
    return table_.encode(settings_);
  }

 private:
  const Field<S>* Find(std::string_view name) const {
    for (const auto& field : table_.fields)
      if (field.name == name) return &field;
    return nullptr;
  }

  const KindTable<S>& table_;
  const SearchPath& files_;
  S settings_;
  std::set<std::string_view> given_;
};

template <class S>
std::unique_ptr<SettingsForm> Make(const KindTable<S>& table, uint32_t version, const Where& where,
                                   const SearchPath& files) {
  if (version != table.version)
    where.Fail(std::string(table.name) + " are written at version " + std::to_string(table.version));
  return std::make_unique<KindSettingsForm<S>>(table, files);
}

}  // namespace

std::unique_ptr<SettingsForm> SettingsForm::ForKind(uint32_t kind, uint32_t version, const Where& where,
                                                    const SearchPath& files) {
  switch (kind) {
    case kKindWindow:
      return Make(kWindowTable, version, where, files);
    case kKindLabel:
      return Make(kLabelTable, version, where, files);
    case kKindButton:
      return Make(kButtonTable, version, where, files);
    case kKindGroupBox:
      return Make(kGroupBoxTable, version, where, files);
    case kKindTimer:
      return Make(kTimerTable, version, where, files);
    case kKindHtmlViewer:
      return Make(kHtmlViewerTable, version, where, files);
  }
  where.Fail("this kind has no settings block");
}

}  // namespace vorrik::forms
