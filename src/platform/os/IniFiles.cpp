#include "platform/os/IniFiles.h"

#include <unordered_set>

#include "platform/core/SysUtils.h"
#include "platform/os/AnsiText.h"
#include "platform/os/FileUtils.h"

namespace nv {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Splits at LF, CR LF and a lone CR.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// "[name]" with anything after the bracket ignored; false for a line that is no header.
bool ParseSectionHeader(std::string_view line, std::string& name) {
  if (line.empty() || line.front() != '[') return false;
  std::size_t close = FindDelimiter(line, "]");
  if (close == std::string_view::npos) return false;
  name = std::string(TrimBlanks(line.substr(1, close - 1)));
  return true;
}

bool ParseEntry(std::string_view line, TIniEntry& entry) {
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  std::string_view name = TrimBlanks(line.substr(0, eq));
  if (name.empty()) return false;
  entry.name = std::string(name);
  entry.value = std::string(TrimBlanks(line.substr(eq + 1)));
  entry.line = std::string(line);
  return true;
}

std::string StripQuotes(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

TIniDocument TIniDocument::Parse(std::string_view text) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  TIniDocument document;
  TIniSection* current = nullptr;
  for (std::string_view raw : SplitLines(text)) {
    std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == ';') continue;
    std::string name;
    if (ParseSectionHeader(line, name)) {
      current = &document.sections_.emplace_back(TIniSection{std::move(name), {}});
      continue;
    }
    TIniEntry entry;
    // keys before the first section belong to no section and cannot be read
    if (current != nullptr && ParseEntry(line, entry)) current->entries.push_back(std::move(entry));
  }
  return document;
}

const TIniSection* TIniDocument::FindSection(std::string_view name) const {
  name = TrimBlanks(name);
  for (const TIniSection& section : sections_)
    if (SameNameText(section.name, name)) return &section;
  return nullptr;
}

const TIniEntry* TIniDocument::FindEntry(std::string_view section, std::string_view ident) const {
  const TIniSection* found = FindSection(section);
  if (found == nullptr) return nullptr;
  ident = TrimBlanks(ident);
  for (const TIniEntry& entry : found->entries)
    if (SameNameText(entry.name, ident)) return &entry;
  return nullptr;
}

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

TIniDocument TIniFile::Load() const {
  std::string text;
  // a file that is missing or cannot be read is an empty configuration
  if (!ReadWholeFile(fileName_, text)) text.clear();
  return TIniDocument::Parse(text);
}

std::string TIniFile::ReadString(std::string_view section, std::string_view ident,
                                 std::string_view defaultValue) const {
  TIniDocument document = Load();
  const TIniEntry* entry = document.FindEntry(section, ident);
  return entry != nullptr ? StripQuotes(entry->value) : std::string(defaultValue);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view ident,
                          int defaultValue) const {
  int value = 0;
  return TryStrToInt(ReadString(section, ident, ""), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(std::string_view section, std::string_view ident,
                           double defaultValue) const {
  double value = 0;
  return TryStrToFloat(ReadString(section, ident, ""), value) ? value : defaultValue;
}

std::vector<std::string> TIniFile::ReadSections() const {
  TIniDocument document = Load();
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  for (const TIniSection& section : document.Sections())
    if (seen.insert(FoldNameText(section.name)).second) names.push_back(section.name);
  return names;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
  TIniDocument document = Load();
  std::vector<std::string> names;
  const TIniSection* found = document.FindSection(section);
  if (found == nullptr) return names;
  std::unordered_set<std::string> seen;
  for (const TIniEntry& entry : found->entries)
    if (seen.insert(FoldNameText(entry.name)).second) names.push_back(entry.name);
  return names;
}

std::vector<std::string> TIniFile::ReadSectionValues(std::string_view section) const {
  TIniDocument document = Load();
  std::vector<std::string> lines;
  const TIniSection* found = document.FindSection(section);
  if (found == nullptr) return lines;
  std::unordered_set<std::string> seen;
  for (const TIniEntry& entry : found->entries)
    if (seen.insert(FoldNameText(entry.name)).second)
      lines.push_back(entry.name + "=" + StripQuotes(entry.value));
  return lines;
}

std::vector<std::string> TIniFile::ReadSectionLines(std::string_view section) const {
  TIniDocument document = Load();
  std::vector<std::string> lines;
  if (const TIniSection* found = document.FindSection(section))
    for (const TIniEntry& entry : found->entries) lines.push_back(entry.line);
  return lines;
}

bool TIniFile::SectionExists(std::string_view section) const {
  TIniDocument document = Load();
  const TIniSection* found = document.FindSection(section);
  return found != nullptr && !found->entries.empty();
}

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const {
  return Load().FindEntry(section, ident) != nullptr;
}

}  // namespace nv
