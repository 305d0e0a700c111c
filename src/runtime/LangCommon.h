#pragma once
// LangCommon: language packs, the XML files under the client's "MultiLanguage\<CHS|CHT|ENG>\"
// folder, one per form class or message section ("<section>.Lng"), and the helpers around
// them: the language folder, message texts by section and key, XML loading and the dotted
// property assignment the pack reader uses.
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/Variant.h"
#include "platform/rtti/Classes.h"

struct _xmlDoc;
struct _xmlNode;

namespace nv {

// Which configuration (client or server installation) a converter or controller reads.
NV_ENUM(TDesignType, dtClient, dtServer)

using TXmlNode = _xmlNode*;

// A loaded XML document. Loading never raises: a document that could not be read has
// ParseErrorCode() != 0 and a reason naming the place.
class TXmlDocument {
 public:
  TXmlDocument() = default;
  ~TXmlDocument();
  TXmlDocument(const TXmlDocument&) = delete;
  TXmlDocument& operator=(const TXmlDocument&) = delete;

  int ParseErrorCode() const { return errorCode_; }
  const std::string& ParseErrorReason() const { return errorReason_; }
  // The document element, or nullptr.
  TXmlNode DocumentElement() const;
  // The first element of that name anywhere in the document (document order), or nullptr.
  // A name that is no XML name (quotes, brackets, slashes...) selects nothing.
  TXmlNode SelectElement(std::string_view name) const;
  // The attribute "attribute" of the first element "name", as a system text.
  bool SelectAttribute(std::string_view name, std::string_view attribute, std::string& value) const;

 private:
  friend std::unique_ptr<TXmlDocument> XmlFromFile(const std::string& fileName);
  friend std::unique_ptr<TXmlDocument> XmlFromText(std::string_view text);
  friend std::unique_ptr<TXmlDocument> XmlFromTextUnvalidated(std::string_view text);
  void Load(const std::string* fileName, std::string_view text);

  _xmlDoc* doc_ = nullptr;
  int errorCode_ = 0;
  std::string errorReason_;
};

// Loading honours the encoding declaration. External entities and DTDs are never fetched,
// so a pack cannot make the reader open other files; no document type validation is made
// (the unvalidated variant is the same load, kept for the sign-off data's callers).
std::unique_ptr<TXmlDocument> XmlFromFile(const std::string& fileName);
std::unique_ptr<TXmlDocument> XmlFromText(std::string_view text);
std::unique_ptr<TXmlDocument> XmlFromTextUnvalidated(std::string_view text);

// An element's name and attributes, as system texts.
std::string XmlNodeName(TXmlNode node);
int XmlAttributeCount(TXmlNode node);
std::string XmlAttributeName(TXmlNode node, int index);
std::string XmlAttributeValue(TXmlNode node, int index);

// The language folder of the interface code page: installation folder + "MultiLanguage\" +
// CHS, CHT or ENG + "\"; empty for another code page or when the folder does not exist.
std::string GetLangFolder(TDesignType designType);
std::string LanguageCodeOf(std::string_view codePage);

// Attribute "Msg" of the first element named key in the section's pack; the default when
// there is no pack, no such element or attribute, or on any error. Read afresh on each call.
std::string GetMessage(TDesignType designType, std::string_view section, std::string_view key,
                       std::string_view defaultText);
// GetMessage used as a format. A pack text that does not fit the arguments falls back to the
// default text.
std::string GetMessageFmt(TDesignType designType, std::string_view section, std::string_view key,
                          std::string_view defaultText, std::span<const Variant> args);
std::string GetMessageFmt(TDesignType designType, std::string_view section, std::string_view key,
                          std::string_view defaultText, std::initializer_list<Variant> args);

// Sets a published property reached through a dotted path ("Font.Name"). Idents of integer
// types (clRed) and names of enumerations and sets are accepted. Raises EPropertyError (or
// EConvertError) when the path or the value does not fit.
void SetPropValueIncludeSub(TObject& object, std::string_view path, std::string_view value);

// The same two helpers as for components, for persistent objects that are not components.
bool CheckPersistentPropertyExist(const TPersistent* object, std::string_view name);
void SetPersistentStringProperty(TPersistent* object, std::string_view name,
                                 const std::string& value);

}  // namespace nv
