#include "runtime/LangCommon.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include "platform/core/CodePage.h"
#include "platform/core/Format.h"
#include "platform/os/FileUtils.h"
#include "runtime/BatonINI.h"
#include "runtime/LibVCLs.h"

namespace nv {
namespace {

// No network, no external DTD or entity loading, no entity substitution: a pack is data.
// Values are read without expanding entity references for the same reason.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR;

std::string FromXml(const xmlChar* text) {
  return text == nullptr ? std::string() : Utf8ToAnsi(reinterpret_cast<const char*>(text));
}

// An attribute's text. Entity references stay as written ("&name;"): expanding them would
// let a pack blow up into any size.
std::string AttributeText(const xmlAttr* attribute) {
  std::string utf8;
  for (const xmlNode* part = attribute->children; part != nullptr; part = part->next) {
    if (part->type == XML_TEXT_NODE && part->content != nullptr) {
      utf8 += reinterpret_cast<const char*>(part->content);
    } else if (part->type == XML_ENTITY_REF_NODE && part->name != nullptr) {
      utf8 += "&" + std::string(reinterpret_cast<const char*>(part->name)) + ";";
    }
  }
  return Utf8ToAnsi(utf8);
}

xmlAttr* AttributeAt(TXmlNode node, int index) {
  if (node == nullptr || node->type != XML_ELEMENT_NODE || index < 0) return nullptr;
  xmlAttr* attribute = node->properties;
  for (int i = 0; attribute != nullptr && i < index; ++i) attribute = attribute->next;
  return attribute;
}

// An element name the selection can be built from: an XML name without a prefix. Anything
// else (quotes, brackets, slashes, blanks, operators) would change the expression.
bool IsElementName(const std::string& utf8) {
  return !utf8.empty() && xmlValidateNCName(reinterpret_cast<const xmlChar*>(utf8.c_str()), 0) == 0;
}

}  // namespace

TXmlDocument::~TXmlDocument() {
  if (doc_ != nullptr) xmlFreeDoc(doc_);
}

void TXmlDocument::Load(const std::string* fileName, std::string_view text) {
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  if (context == nullptr) {
    errorCode_ = -1;
    errorReason_ = "out of memory";
    return;
  }
  if (fileName != nullptr) {
    doc_ = xmlCtxtReadFile(context, NativePath(*fileName).c_str(), nullptr, kParseOptions);
  } else {
    doc_ = xmlCtxtReadMemory(context, text.data(), static_cast<int>(text.size()), "", nullptr,
                             kParseOptions);
  }
  const xmlError* error = xmlCtxtGetLastError(context);
  if (doc_ == nullptr || (error != nullptr && error->level >= XML_ERR_ERROR)) {
    errorCode_ = error != nullptr && error->code != 0 ? error->code : -1;
    std::string message =
        error != nullptr && error->message != nullptr ? error->message : "cannot be read";
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
      message.pop_back();
    const int line = error != nullptr ? error->line : 0;
    const int column = error != nullptr ? error->int2 : 0;
    errorReason_ = Format("line %d, column %d: %s", {line, column, Utf8ToAnsi(message)});
    if (doc_ != nullptr) {
      xmlFreeDoc(doc_);
      doc_ = nullptr;
    }
  }
  xmlFreeParserCtxt(context);
}

TXmlNode TXmlDocument::DocumentElement() const {
  return doc_ == nullptr ? nullptr : xmlDocGetRootElement(doc_);
}

TXmlNode TXmlDocument::SelectElement(std::string_view name) const {
  if (doc_ == nullptr) return nullptr;
  const std::string utf8 = AnsiToUtf8(name);
  if (!IsElementName(utf8)) return nullptr;
  xmlXPathContextPtr context = xmlXPathNewContext(doc_);
  if (context == nullptr) return nullptr;
  const std::string expression = "(//" + utf8 + ")[1]";
  xmlXPathObjectPtr result =
      xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression.c_str()), context);
  TXmlNode node = nullptr;
  if (result != nullptr && result->type == XPATH_NODESET && result->nodesetval != nullptr &&
      result->nodesetval->nodeNr > 0)
    node = result->nodesetval->nodeTab[0];
  xmlXPathFreeObject(result);
  xmlXPathFreeContext(context);
  return node;
}

bool TXmlDocument::SelectAttribute(std::string_view name, std::string_view attribute,
                                   std::string& value) const {
  TXmlNode node = SelectElement(name);
  if (node == nullptr) return false;
  const std::string attributeName = AnsiToUtf8(attribute);
  xmlAttr* found = xmlHasProp(node, reinterpret_cast<const xmlChar*>(attributeName.c_str()));
  if (found == nullptr || found->type != XML_ATTRIBUTE_NODE) return false;
  value = AttributeText(found);
  return true;
}

std::unique_ptr<TXmlDocument> XmlFromFile(const std::string& fileName) {
  auto document = std::make_unique<TXmlDocument>();
  document->Load(&fileName, {});
  return document;
}

std::unique_ptr<TXmlDocument> XmlFromText(std::string_view text) {
  auto document = std::make_unique<TXmlDocument>();
  document->Load(nullptr, text);
  return document;
}

std::unique_ptr<TXmlDocument> XmlFromTextUnvalidated(std::string_view text) {
  return XmlFromText(text);
}

std::string XmlNodeName(TXmlNode node) {
  return node == nullptr ? std::string() : FromXml(node->name);
}

int XmlAttributeCount(TXmlNode node) {
  int count = 0;
  for (xmlAttr* a = AttributeAt(node, 0); a != nullptr; a = a->next) ++count;
  return count;
}

std::string XmlAttributeName(TXmlNode node, int index) {
  xmlAttr* attribute = AttributeAt(node, index);
  return attribute == nullptr ? std::string() : FromXml(attribute->name);
}

std::string XmlAttributeValue(TXmlNode node, int index) {
  xmlAttr* attribute = AttributeAt(node, index);
  if (attribute == nullptr) return {};
  return AttributeText(attribute);
}

std::string LanguageCodeOf(std::string_view codePage) {
  if (codePage == "936") return "CHS";
  if (codePage == "950") return "CHT";
  if (codePage == "437") return "ENG";
  return {};
}

std::string GetLangFolder(TDesignType designType) {
  std::string codePage, folder;
  if (designType == dtServer) {
    const TBatonIniS ini;
    codePage = ini.UICodePage();
    folder = ini.ServerPath();
  } else {
    const TBatonIniC ini;
    codePage = ini.UICodePage();
    folder = ini.ClientPath();
  }
  const std::string code = LanguageCodeOf(codePage);
  if (code.empty()) return {};
  const std::string langFolder = folder + "MultiLanguage\\" + code + "\\";
  return DirectoryExists(langFolder) ? langFolder : std::string();
}

std::string GetMessage(TDesignType designType, std::string_view section, std::string_view key,
                       std::string_view defaultText) {
  try {
    const std::string fileName = GetLangFolder(designType) + std::string(section) + ".Lng";
    if (!FileExists(fileName)) return std::string(defaultText);
    const auto document = XmlFromFile(fileName);
    if (document->ParseErrorCode() != 0) return std::string(defaultText);
    std::string text;
    if (!document->SelectAttribute(key, "Msg", text)) return std::string(defaultText);
    return text;
  } catch (const std::exception&) {
    return std::string(defaultText);
  }
}

std::string GetMessageFmt(TDesignType designType, std::string_view section, std::string_view key,
                          std::string_view defaultText, std::span<const Variant> args) {
  const std::string text = GetMessage(designType, section, key, defaultText);
  try {
    return Format(text, args);
  } catch (const EConvertError&) {
    if (text == defaultText) throw;
    return Format(defaultText, args);
  }
}

std::string GetMessageFmt(TDesignType designType, std::string_view section, std::string_view key,
                          std::string_view defaultText, std::initializer_list<Variant> args) {
  return GetMessageFmt(designType, section, key, defaultText,
                       std::span<const Variant>(args.begin(), args.size()));
}

void SetPropValueIncludeSub(TObject& object, std::string_view path, std::string_view value) {
  const size_t point = path.find('.');
  if (point != std::string_view::npos) {
    TObject* sub = GetObjectProp(object, path.substr(0, point));
    if (sub == nullptr)
      throw EPropertyError("Property " + std::string(path.substr(0, point)) + " of " +
                           object.ClassName() + " holds no object");
    SetPropValueIncludeSub(*sub, path.substr(point + 1), value);
    return;
  }
  const TPropInfo& info = GetPropInfo(object.ClassInfo(), path);
  if ((info.Kind == tkEnumeration || info.Kind == tkSet)) {
    std::int64_t number = 0;
    if (!TryStrToInt64(value, number)) {
      SetPropValue(object, path, Trim(value));
      return;
    }
  }
  SetPropValue(object, path, value);
}

bool CheckPersistentPropertyExist(const TPersistent* object, std::string_view name) {
  return CheckPropertyExist(object, name);
}

void SetPersistentStringProperty(TPersistent* object, std::string_view name,
                                 const std::string& value) {
  SetStringProperty(object, name, value);
}

}  // namespace nv
