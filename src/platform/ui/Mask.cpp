#include "platform/ui/Mask.h"

#include "platform/ui/Menus.h"

#include <cctype>

namespace nv {

NV_PUBLISH(TMaskEdit) {
  b.Prop("AutoSelect", &TMaskEdit::AutoSelect, &TMaskEdit::SetAutoSelect).Default(true);
  b.Prop("BorderStyle", &TMaskEdit::BorderStyle, &TMaskEdit::SetBorderStyle).Default(bsSingle);
  b.Prop("CharCase", &TMaskEdit::CharCase, &TMaskEdit::SetCharCase).Default(ecNormal);
  PublishFontColor(b, clWindow);
  b.Prop("EditMask", &TMaskEdit::EditMask, &TMaskEdit::SetEditMask);
  b.Prop("MaxLength", &TMaskEdit::MaxLength, &TMaskEdit::SetMaxLength).Default(0);
  b.Prop("PasswordChar", &TMaskEdit::PasswordChar, &TMaskEdit::SetPasswordChar).Default('\0');
  b.Prop("ReadOnly", &TMaskEdit::ReadOnly, &TMaskEdit::SetReadOnly).Default(false);
  b.Prop("Text", &TMaskEdit::Text, &TMaskEdit::SetText);
  PublishHintPopup(b);
  PublishFocusKeys(b, true);
  b.Prop("OnChange", &TMaskEdit::OnChange, &TMaskEdit::OnChange);
  PublishMouseEvents(b);
}

void TMaskEdit::ParseMask() {
  positions_.clear();
  saveLiterals_ = true;
  blank_ = '_';
  // the last two ";"-parts are the flags when present
  std::string picture = editMask_;
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= picture.size(); ++i) {
    if (i < picture.size() && picture[i] == '\\') {
      ++i;
      continue;
    }
    if (i == picture.size() || picture[i] == ';') {
      parts.push_back(picture.substr(start, i - start));
      start = i + 1;
    }
  }
  if (parts.size() >= 2) saveLiterals_ = parts[1] != "0";
  if (parts.size() >= 3 && !parts[2].empty()) blank_ = parts[2][0];
  picture = parts.empty() ? std::string() : parts[0];
  int caseMode = 0;
  for (std::size_t i = 0; i < picture.size(); ++i) {
    char c = picture[i];
    Position p;
    switch (c) {
      case '!':
        continue;
      case '>':
        caseMode = 1;
        continue;
      case '<':
        if (i + 1 < picture.size() && picture[i + 1] == '>') {
          caseMode = 0;
          ++i;
        } else {
          caseMode = -1;
        }
        continue;
      case '\\':
        if (++i < picture.size()) p.Literal = picture[i];
        break;
      case '9':
      case '0':
      case 'L':
      case 'l':
      case 'A':
      case 'a':
      case 'C':
      case 'c':
      case '#':
        p.Picture = c;
        p.Case = caseMode;
        break;
      case ':':
      case '/':
      default:
        p.Literal = c;
        break;
    }
    if (p.Literal || p.Picture) positions_.push_back(p);
  }
}

bool TMaskEdit::Accepts(const Position& p, char c) const {
  auto u = static_cast<unsigned char>(c);
  switch (p.Picture) {
    case '9':
    case '0':
      return std::isdigit(u) || (p.Picture == '9' && c == ' ');
    case '#':
      return std::isdigit(u) || c == '+' || c == '-' || c == ' ';
    case 'L':
    case 'l':
      return std::isalpha(u) || u >= 0x80;
    case 'A':
    case 'a':
      return std::isalnum(u) || u >= 0x80;
    default:
      return u >= 32;
  }
}

std::string TMaskEdit::Layout(const std::string& chars, bool withLiterals) const {
  // chars fills the input positions in order; with literals, matching literals are skipped
  std::string out;
  std::size_t k = 0;
  for (const Position& p : positions_) {
    if (p.Literal) {
      if (withLiterals && k < chars.size() && chars[k] == p.Literal) ++k;
      out += p.Literal;
      continue;
    }
    char c = k < chars.size() ? chars[k++] : blank_;
    if (c != blank_ && !Accepts(p, c)) c = blank_;
    if (p.Case > 0) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (p.Case < 0) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    out += c;
  }
  return out;
}

void TMaskEdit::SetEditMask(const std::string& mask) {
  if (mask == editMask_) return;
  std::string old = editText_;
  bool wasMasked = IsMasked();
  editMask_ = mask;
  ParseMask();
  if (!IsMasked()) {
    editText_ = wasMasked ? Trim(old) : old;
    TControl::SetText(editText_);
    return;
  }
  SetEditText(Layout(old, true));
}

void TMaskEdit::SetEditText(const std::string& text) {
  editText_ = IsMasked() ? Layout(text, true) : text;
  std::string t = Text();
  if (t == text_) {
    Changed();
    return;
  }
  TControl::SetText(t);
}

std::string TMaskEdit::Text() const {
  if (!IsMasked()) return text_;
  if (saveLiterals_) return editText_;
  std::string out;
  for (std::size_t i = 0; i < positions_.size() && i < editText_.size(); ++i)
    if (!positions_[i].Literal) out += editText_[i];
  // positions never filled do not count in the text
  while (!out.empty() && out.back() == blank_) out.pop_back();
  return out;
}

void TMaskEdit::SetText(const std::string& text) {
  if (!IsMasked()) {
    editText_ = text;
    TControl::SetText(text);
    return;
  }
  editText_ = Layout(text, saveLiterals_);
  TControl::SetText(Text());
  Changed();
}

std::string TMaskEdit::BlankText() const {
  if (!IsMasked()) return {};
  std::string blank = Layout("", false);
  if (saveLiterals_) return blank;
  return {};
}

void TMaskEdit::TypeChar(char key) {
  if (!IsMasked()) {
    TCustomEdit::TypeChar(key);
    editText_ = text_;
    return;
  }
  if (ReadOnly()) return;
  std::string shown = editText_;
  int n = static_cast<int>(positions_.size());
  if (key == '\b') {
    for (int i = std::min(selStart_, n) - 1; i >= 0; --i)
      if (!positions_[static_cast<std::size_t>(i)].Literal) {
        shown[static_cast<std::size_t>(i)] = blank_;
        selStart_ = i;
        break;
      }
    selLength_ = 0;
    SetEditText(shown);
    return;
  }
  // typing over a whole selection starts again from its first position
  if (selLength_ > 0)
    for (int i = selStart_; i < std::min(n, selStart_ + selLength_); ++i)
      if (!positions_[static_cast<std::size_t>(i)].Literal)
        shown[static_cast<std::size_t>(i)] = blank_;
  int i = selStart_;
  while (i < n && positions_[static_cast<std::size_t>(i)].Literal) ++i;
  if (i >= n || !Accepts(positions_[static_cast<std::size_t>(i)], key)) return;
  shown[static_cast<std::size_t>(i)] = key;
  int caret = i + 1;
  SetEditText(shown);
  selStart_ = caret;
  selLength_ = 0;
}

}  // namespace nv
