#include "platform/os/Registry.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/core/CodePage.h"
#include "platform/os/AnsiText.h"
#include "platform/os/FileUtils.h"

namespace nv {

namespace {

struct TRootName {
  std::string_view name;
  std::string_view shortName;
  HKEY root;
};

constexpr TRootName kRoots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", "HKU", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG},
};

bool FindRoot(std::string_view name, HKEY& root) {
  for (const TRootName& entry : kRoots) {
    if (SameNameText(name, entry.name) || SameNameText(name, entry.shortName)) {
      root = entry.root;
      return true;
    }
  }
  return false;
}

std::vector<std::string_view> SplitKeyPath(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = FindDelimiter(path, "\\", start);
    if (end == std::string_view::npos) break;
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  parts.push_back(path.substr(start));
  return parts;
}

// Long lines are cut in messages so that the message stays readable.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 60;
  std::string shown(text.substr(0, kShown));
  if (text.size() > kShown) shown += "...";
  return "\"" + shown + "\"";
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

class TRegParser {
 public:
  TRegParser(std::string_view fileName, std::string_view text) : fileName_(fileName), text_(text) {}

  // Walks the lines; calls the key and value handlers of the target.
  template <typename OnKey, typename OnValue>
  void Run(OnKey onKey, OnValue onValue) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
    bool first = true;
    bool inKey = false;
    std::size_t pos = 0;
    while (pos < text_.size()) {
      std::size_t end = text_.find_first_of("\r\n", pos);
      if (end == std::string_view::npos) end = text_.size();
      ++lineNo_;
      std::string_view line = TrimBlanks(text_.substr(pos, end - pos));
      // LF, CR LF and a lone CR each end one line
      pos = end + (text_.compare(end, 2, "\r\n") == 0 ? 2 : 1);
      if (line.empty() || line.front() == ';') continue;
      bool header = first && (line == "REGEDIT4" || line == "Windows Registry Editor Version 5.00");
      first = false;
      if (header) continue;
      if (line.front() == '[') {
        HKEY root = 0;
        std::vector<std::string_view> path;
        ParseKeyLine(line, root, path);
        onKey(root, path);
        inKey = true;
      } else if (line.front() == '"' || line.front() == '@') {
        if (!inKey)
          Fail("expected a key line [ROOT\\path] before the first value, found " + Quoted(line));
        TRegValue value;
        ParseValueLine(line, value);
        onValue(std::move(value));
      } else {
        Fail("expected a key line [ROOT\\path] or a value line \"name\"=data, found " +
             Quoted(line));
      }
    }
  }

 private:
  [[noreturn]] void Fail(const std::string& problem) const {
    throw EReadError("Registry file \"" + std::string(fileName_) + "\", line " +
                     std::to_string(lineNo_) + ": " + problem);
  }

  void ParseKeyLine(std::string_view line, HKEY& root, std::vector<std::string_view>& path) {
    if (line.size() < 2 || FindLastDelimiter(line, "]") != line.size() - 1)
      Fail("expected \"]\" at the end of the key line, found " + Quoted(line));
    std::string_view inner = line.substr(1, line.size() - 2);
    if (!inner.empty() && inner.front() == '-')
      Fail("deleting a key is not supported in a registry file, found " + Quoted(line));
    path = SplitKeyPath(inner);
    if (!FindRoot(path.front(), root)) Fail("unknown root key " + Quoted(path.front()));
    path.erase(path.begin());
    if (!path.empty() && path.back().empty()) path.pop_back();  // "[HKLM\Software\]"
    for (std::string_view part : path)
      if (TrimBlanks(part).empty()) Fail("empty key name in " + Quoted(inner));
  }

  // A quoted string at text[pos] with \\ and \" escapes; pos ends after the closing quote.
  std::string ParseString(std::string_view text, std::size_t& pos) {
    std::string result;
    int codePage = SystemCodePage();
    for (++pos; pos < text.size(); ++pos) {
      char c = text[pos];
      if (IsLeadByte(static_cast<unsigned char>(c), codePage) && pos + 1 < text.size()) {
        result += c;
        result += text[++pos];  // a trail byte 0x5C ("\\") belongs to the character
        continue;
      }
      if (c == '"') {
        ++pos;
        return result;
      }
      if (c == '\\') {
        if (pos + 1 >= text.size()) break;
        char next = text[++pos];
        if (next != '\\' && next != '"')
          Fail(std::string("unknown escape \"\\") + next +
               "\" in a string (only \\\\ and \\\" are allowed)");
        c = next;
      }
      result += c;
    }
    Fail("expected a closing quote, found the end of the line in " + Quoted(text));
  }

  void ParseValueLine(std::string_view line, TRegValue& value) {
    std::size_t pos = 0;
    if (line.front() == '@') {
      pos = 1;
    } else {
      value.name = ParseString(line, pos);
    }
    std::string_view rest = TrimBlanks(line.substr(pos));
    if (rest.empty() || rest.front() != '=')
      Fail("expected \"=\" after the value name, found " + Quoted(rest));
    rest = TrimBlanks(rest.substr(1));
    std::string shownName = value.name.empty() ? "@" : Quoted(value.name);
    if (!rest.empty() && rest.front() == '"') {
      std::size_t at = 0;
      value.type = TRegDataType::rdString;
      value.text = ParseString(rest, at);
      std::string_view tail = TrimBlanks(rest.substr(at));
      if (!tail.empty())
        Fail("unexpected text after the data of value " + shownName + ": " + Quoted(tail));
      return;
    }
    constexpr std::string_view kDword = "dword:";
    if (SameNameText(rest.substr(0, kDword.size()), kDword)) {
      std::string_view digits = rest.substr(kDword.size());
      bool ok = !digits.empty() && digits.size() <= 8;
      for (char c : digits) ok = ok && IsHexDigit(c);
      if (!ok)
        Fail("expected 1 to 8 hexadecimal digits after dword: for value " + shownName + ", found " +
             Quoted(digits));
      value.type = TRegDataType::rdInteger;
      value.number = static_cast<std::int32_t>(
          static_cast<std::uint32_t>(std::strtoul(std::string(digits).c_str(), nullptr, 16)));
      return;
    }
    Fail("expected \"text\" or dword:hex as the data of value " + shownName + ", found " +
         Quoted(rest));
  }

  std::string_view fileName_;
  std::string_view text_;
  int lineNo_ = 0;
};

}  // namespace

std::string RegistryFileName() {
  const char* name = std::getenv("BATON_REGISTRY");
  return name != nullptr && *name != '\0' ? std::string(name) : std::string(kDefaultRegistryFile);
}

std::string_view RootKeyName(HKEY root) {
  for (const TRootName& entry : kRoots)
    if (entry.root == root) return entry.name;
  return {};
}

const TRegValue* TRegKeyNode::FindValue(std::string_view valueName) const {
  for (const TRegValue& value : values)
    if (SameNameText(value.name, valueName)) return &value;
  return nullptr;
}

const TRegKeyNode* TRegKeyNode::FindSubKey(std::string_view keyName) const {
  for (const auto& key : subKeys)
    if (SameNameText(key->name, keyName)) return key.get();
  return nullptr;
}

TRegKeyNode& TRegistryFile::RootNode(HKEY root) {
  TRegKeyNode& node = roots_[root];
  if (node.name.empty()) node.name = std::string(RootKeyName(root));
  return node;
}

TRegistryFile TRegistryFile::Parse(std::string_view text, std::string_view fileName) {
  TRegistryFile file;
  TRegKeyNode* current = nullptr;
  TRegParser parser(fileName, text);
  parser.Run(
      [&](HKEY root, const std::vector<std::string_view>& path) {
        // a key line also makes its parents, and a key named twice gathers both blocks
        current = &file.RootNode(root);
        for (std::string_view part : path) {
          auto* found = const_cast<TRegKeyNode*>(current->FindSubKey(part));
          if (found == nullptr) {
            found = current->subKeys.emplace_back(std::make_unique<TRegKeyNode>()).get();
            found->name = std::string(part);
          }
          current = found;
        }
      },
      [&](TRegValue value) {
        // as in an import, a value given again replaces the earlier one
        for (TRegValue& existing : current->values) {
          if (SameNameText(existing.name, value.name)) {
            value.name = std::move(existing.name);  // the name keeps its first spelling
            existing = std::move(value);
            return;
          }
        }
        current->values.push_back(std::move(value));
      });
  return file;
}

TRegistryFile TRegistryFile::Load(const std::string& fileName) {
  struct stat info {};
  if (::stat(NativePath(fileName).c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR))
    return TRegistryFile();  // no registry file: a machine on which nothing is installed
  std::string text;
  if (S_ISDIR(info.st_mode))
    throw EFOpenError("Cannot read registry file \"" + fileName + "\": it is a folder");
  if (!ReadWholeFile(fileName, text))
    throw EFOpenError("Cannot read registry file \"" + fileName + "\": " + std::strerror(errno));
  return Parse(text, fileName);
}

const TRegKeyNode* TRegistryFile::FindKey(HKEY root, std::string_view path) const {
  auto found = roots_.find(root);
  if (found == roots_.end()) return nullptr;
  const TRegKeyNode* node = &found->second;
  for (std::string_view part : SplitKeyPath(path)) {
    if (part.empty()) continue;
    node = node->FindSubKey(part);
    if (node == nullptr) return nullptr;
  }
  return node;
}

TRegistry::TRegistry() : TRegistry(RegistryFileName()) {}

TRegistry::TRegistry(std::string fileName) : fileName_(std::move(fileName)) {}

const TRegistryFile& TRegistry::File() {
  if (!file_) file_ = std::make_unique<TRegistryFile>(TRegistryFile::Load(fileName_));
  return *file_;
}

void TRegistry::SetRootKey(HKEY root) {
  CloseKey();
  rootKey_ = root;
}

const TRegKeyNode* TRegistry::Resolve(std::string_view key, std::string& fullPath) {
  if (!key.empty() && key.front() == '\\') {
    fullPath = std::string(key.substr(1));
  } else if (keyOpen_ && !currentPath_.empty()) {
    fullPath = currentPath_ + "\\" + std::string(key);
  } else {
    fullPath = std::string(key);
  }
  while (!fullPath.empty() && FindLastDelimiter(fullPath, "\\") == fullPath.size() - 1)
    fullPath.pop_back();
  return File().FindKey(rootKey_, fullPath);
}

bool TRegistry::OpenKey(std::string_view key, bool canCreate) {
  std::string fullPath;
  if (Resolve(key, fullPath) == nullptr) return false;
  currentPath_ = std::move(fullPath);
  keyOpen_ = true;
  return true;
}

bool TRegistry::OpenKeyReadOnly(std::string_view key) {
  return OpenKey(key, false);
}

void TRegistry::CloseKey() {
  keyOpen_ = false;
  currentPath_.clear();
}

bool TRegistry::KeyExists(std::string_view key) {
  std::string fullPath;
  return Resolve(key, fullPath) != nullptr;
}

const TRegKeyNode* TRegistry::CurrentNode() {
  return File().FindKey(rootKey_, keyOpen_ ? currentPath_ : std::string());
}

std::string TRegistry::KeyDisplayName() const {
  std::string name(RootKeyName(rootKey_));
  if (keyOpen_ && !currentPath_.empty()) name += "\\" + currentPath_;
  return name;
}

bool TRegistry::ValueExists(std::string_view name) {
  const TRegKeyNode* node = CurrentNode();
  return node != nullptr && node->FindValue(name) != nullptr;
}

TRegDataType TRegistry::GetDataType(std::string_view name) {
  const TRegKeyNode* node = CurrentNode();
  const TRegValue* value = node != nullptr ? node->FindValue(name) : nullptr;
  return value != nullptr ? value->type : TRegDataType::rdUnknown;
}

const TRegValue& TRegistry::ValueOrRaise(std::string_view name) {
  const TRegKeyNode* node = CurrentNode();
  const TRegValue* value = node != nullptr ? node->FindValue(name) : nullptr;
  if (value == nullptr)
    throw ERegistryException("Registry value \"" + std::string(name) + "\" not found in key \"" +
                             KeyDisplayName() + "\"");
  return *value;
}

std::string TRegistry::ReadString(std::string_view name) {
  if (!ValueExists(name)) return std::string();
  const TRegValue& value = ValueOrRaise(name);
  if (value.type != TRegDataType::rdString)
    throw ERegistryException("Registry value \"" + std::string(name) + "\" of key \"" +
                             KeyDisplayName() + "\": expected a string, found an integer");
  return value.text;
}

int TRegistry::ReadInteger(std::string_view name) {
  const TRegValue& value = ValueOrRaise(name);
  if (value.type != TRegDataType::rdInteger)
    throw ERegistryException("Registry value \"" + std::string(name) + "\" of key \"" +
                             KeyDisplayName() + "\": expected an integer, found a string");
  return value.number;
}

bool TRegistry::ReadBool(std::string_view name) {
  return ReadInteger(name) != 0;
}

std::vector<std::string> TRegistry::GetValueNames() {
  std::vector<std::string> names;
  if (const TRegKeyNode* node = CurrentNode())
    for (const TRegValue& value : node->values) names.push_back(value.name);
  return names;
}

std::vector<std::string> TRegistry::GetKeyNames() {
  std::vector<std::string> names;
  if (const TRegKeyNode* node = CurrentNode())
    for (const auto& key : node->subKeys) names.push_back(key->name);
  return names;
}

bool TRegistry::HasSubKeys() {
  const TRegKeyNode* node = CurrentNode();
  return node != nullptr && !node->subKeys.empty();
}

}  // namespace nv
