#pragma once
// The masked edit. An edit mask "99/99/9999;1; " has three parts: the picture (9 digit or
// blank, 0 digit, L/l letters, A/a letters or digits, C/c any character, # digit or sign,
// \ takes the next character literally, ! > < are modifiers), whether Text keeps the
// literals (1) or not (0), and the character that stands for an empty position.
#include "platform/ui/StdCtrls.h"

namespace nv {

class TMaskEdit : public TCustomEdit {
  NV_CLASS(TMaskEdit, TCustomEdit)
 public:
  explicit TMaskEdit(TComponent* owner) : TCustomEdit(owner) {}
  const std::string& EditMask() const { return editMask_; }
  // Re-lays the present text under the new mask.
  void SetEditMask(const std::string& mask);
  // What the edit shows: literals and blanks included.
  const std::string& EditText() const { return editText_; }
  void SetEditText(const std::string& text);
  // With literals kept: the shown text; otherwise the entered characters only.
  std::string Text() const override;
  void SetText(const std::string& text) override;
  bool IsMasked() const { return !positions_.empty(); }
  // The text Text gives for an empty edit under the mask.
  std::string BlankText() const;

 protected:
  void TypeChar(char key) override;

 private:
  struct Position {
    char Literal = 0;  // 0: an input position
    char Picture = 0;
    int Case = 0;  // 1 upper, -1 lower
  };
  void ParseMask();
  bool Accepts(const Position& p, char c) const;
  std::string Layout(const std::string& chars, bool withLiterals) const;

  std::string editMask_;
  std::vector<Position> positions_;
  bool saveLiterals_ = true;
  char blank_ = '_';
  std::string editText_;
};

}  // namespace nv
