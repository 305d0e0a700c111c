#pragma once
// Read-only configuration files in the section/key layout of the suite's INI files
// (BatonC.ini, BatonS.ini, UserDef.ini). Rules, as the suite's programs expect them:
// - sections and keys compare without letter case; the first occurrence of a section, and of
//   a key within it, wins (a repeated section is never looked at);
// - a missing file, section or key gives the default; "key=" gives an empty text;
// - lines are trimmed; ';' starts a comment line; LF, CRLF and a UTF-8 byte-order mark are
//   accepted; lines that are neither "[section]" nor "key=value" are skipped;
// - ReadString strips one pair of matching surrounding quotes (' or ");
// - ReadInteger reads as StrToInt (decimal, "$1F", "0x1F"), ReadFloat as StrToFloat (the
//   locale's decimal separator); a value that is no number gives the default.
// Every read goes to the file again: what another program wrote in between is seen.
#include <string>
#include <string_view>
#include <vector>

namespace nv {

struct TIniEntry {
  std::string name;   // as written, trimmed
  std::string value;  // as written, trimmed, quotes kept
  std::string line;   // the whole line, trimmed
};

struct TIniSection {
  std::string name;  // as written between the brackets, trimmed
  std::vector<TIniEntry> entries;
};

// One parse of an INI text. Never fails: what cannot be read is skipped.
class TIniDocument {
 public:
  static TIniDocument Parse(std::string_view text);

  const std::vector<TIniSection>& Sections() const { return sections_; }
  // The first section of that name, or nullptr.
  const TIniSection* FindSection(std::string_view name) const;
  // The first entry of that key in the first section of that name, or nullptr.
  const TIniEntry* FindEntry(std::string_view section, std::string_view ident) const;

 private:
  std::vector<TIniSection> sections_;
};

class TIniFile {
 public:
  // A name written with "\" delimiters is accepted (see NativePath).
  explicit TIniFile(std::string fileName);

  const std::string& FileName() const { return fileName_; }

  std::string ReadString(std::string_view section, std::string_view ident,
                         std::string_view defaultValue) const;
  int ReadInteger(std::string_view section, std::string_view ident, int defaultValue) const;
  // An integer value: non-zero is true; a value that is no integer gives the default.
  bool ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const;
  double ReadFloat(std::string_view section, std::string_view ident, double defaultValue) const;

  // Names of all sections, in file order, each once.
  std::vector<std::string> ReadSections() const;
  // Names of all keys of the section, in file order, each once.
  std::vector<std::string> ReadSection(std::string_view section) const;
  // "name=value" for every key of ReadSection, with the value ReadString gives.
  std::vector<std::string> ReadSectionValues(std::string_view section) const;
  // Every key line of the section exactly as written (trimmed), repeated keys included.
  std::vector<std::string> ReadSectionLines(std::string_view section) const;

  // As the platform has it: a section exists when it holds at least one key.
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view ident) const;

  TIniDocument Load() const;

 private:
  std::string fileName_;
};

}  // namespace nv
