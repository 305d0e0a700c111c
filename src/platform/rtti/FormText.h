#pragma once
// Form text: the textual layout format of forms and reports.
//   object frmX: TfrmX            (or: inherited frmX: TfrmX)
//     Caption = 'Options'#13#10'line two' + 'joined'
//     Font.Style = [fsBold]
//     Items.Strings = ( 'a' 'b' )
//     Columns = < item Caption = 'Code' end >
//     Picture.Data = { 0A1B2C }
//     object btnOk: TButton ... end
//   end
// Parsing is separate from applying, so a text with a syntax error changes nothing.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtti/Classes.h"

namespace nv {

// A form-text error, always with its place: "BaseGene.form: line 3, column 5: ...".
NV_DECLARE_EXCEPTION(EFormTextError, EReadError);

struct TFormObject {
  enum TBlockKind { bkObject, bkInherited };
  TBlockKind Kind = bkObject;
  std::string Name;
  std::string ClassName;
  std::vector<TFormProperty> Properties;
  std::vector<TFormObject> Children;
  int Line = 0;
  int Column = 0;
};

struct TFormTextLimits {
  int MaxDepth = 64;                       // nesting of blocks and lists
  size_t MaxTextSize = 64u * 1024 * 1024;  // bytes of the whole text
};

// sourceName, when given, starts every error message.
TFormObject ParseFormText(std::string_view text, std::string_view sourceName = {},
                          const TFormTextLimits& limits = {});
std::string FormObjectToText(const TFormObject& object);
// A string value as form text writes it: quoted runs and #nn codes.
std::string FormStringLiteral(std::string_view bytes);

// Reads a text onto an existing component (its own block; children are created or, for
// "inherited" blocks, found by name). Handler names bind to root's published methods;
// component references resolve among root's components once the whole text is read. Every
// component touched is in csLoading while reading and gets Loaded() afterwards.
void ReadComponentText(TComponent& root, std::string_view text, std::string_view sourceName = {});
void ReadComponentObject(TComponent& root, const TFormObject& object,
                         std::string_view sourceName = {});

// Writes root with its children. With an ancestor (the same layout in a fresh instance),
// only the differences are written and the blocks are "inherited" where the ancestor has
// the component.
std::string WriteComponentText(const TComponent& root, const TComponent* ancestor = nullptr);
TFormObject WriteComponentObject(const TComponent& root, const TComponent* ancestor = nullptr);
// The differences from a freshly created instance of root's class (created without owner,
// so it reads its standard texts, and freed again).
std::string WriteComponentDiff(const TComponent& root);

// Applies the standard texts of the instance's class chain, the most basic first, up to but
// not including stopAt (nullptr: the whole chain). Returns how many texts were read. A form
// calls this from AfterConstruction.
int InitInheritedComponent(TComponent& instance, const TClassInfo* stopAt = nullptr);

// Wide characters of a form text (#nnn above 255) become system ANSI text here, and only
// here.
std::string FormWideToAnsi(std::u16string_view text);

}  // namespace nv
