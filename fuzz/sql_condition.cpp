// Condition values come from what users type into the option window, and data-rights texts
// from the server: any values must build conditions whose quotes pair up (a value can never
// end its quoted text early), and the data-rights filter must finish.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Variant.h"
#include "runtime/LibStrs.h"

namespace {

// Texts cut at the separator byte \x01; the first byte chooses the value's shape.
std::vector<std::string> Pieces(std::string_view text) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (;;) {
    const size_t cut = text.find('\x01', start);
    pieces.emplace_back(text.substr(start, cut == std::string_view::npos ? cut : cut - start));
    if (cut == std::string_view::npos || pieces.size() > 64) return pieces;
    start = cut + 1;
  }
}

size_t Quotes(const std::string& text) {
  size_t count = 0;
  for (char c : text) count += c == '\'';
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int shape = data[0] % 5;
  const int type = data[1] % 5;
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const size_t split = rest.find('\x02');
  const std::vector<std::string> pieces = Pieces(rest.substr(0, split));
  std::vector<nv::Variant> elements;
  if (shape == 1) elements.emplace_back(std::string(1, '\x04'));
  if (shape == 2) elements.emplace_back(std::string(1, '\x05'));
  for (const std::string& piece : pieces) {
    if (shape == 3 && !piece.empty() && piece[0] == 'N') {
      elements.push_back(nv::Variant::Null());
    } else if (shape == 3) {
      elements.push_back(nv::Variant::ArrayOf({piece}));
    } else {
      elements.emplace_back(piece);
    }
  }
  const nv::Variant value =
      shape == 0 ? nv::Variant(pieces.front()) : nv::Variant::ArrayOf(std::move(elements));
  std::string where;
  std::string valueQuotes;
  for (const std::string& piece : pieces) valueQuotes += piece;
  const std::string condition = nv::SPSQLStr(where, "TD001", value, type);
  // Every quote of a value is doubled and each value sits between a pair of quotes.
  if (Quotes(condition) % 2 != 0) __builtin_trap();
  if (!condition.empty() && where.find(condition) == std::string::npos) __builtin_trap();

  if (split != std::string_view::npos) {
    const std::string_view second = rest.substr(split + 1);
    const size_t sqlStart = second.find('\x02');
    std::vector<nv::Variant> rights{0};
    for (const std::string& entry : Pieces(second.substr(0, sqlStart))) rights.emplace_back(entry);
    rights[0] = static_cast<int>(rights.size() - 1);
    const std::string sql =
        sqlStart == std::string_view::npos ? "" : std::string(second.substr(sqlStart + 1));
    const std::string filter =
        nv::MakeBasePower(nv::Variant::ArrayOf(std::move(rights)), "DB", sql, "A;B");
    if (!filter.empty() && filter.front() != '(') __builtin_trap();
  }
  return 0;
}
