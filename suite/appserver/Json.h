#pragma once
// JSON for `tallyd call`: arguments in, result and by-reference arguments out. Numbers,
// strings (UTF-8 on the terminal, the database code page inside), true/false, null for Null,
// arrays for variant arrays (a two-dimensional array is written as an array of rows).
#include <string>
#include <string_view>

#include "platform/core/Variant.h"

namespace nv::tallyd {

// Raises EConvertError naming the offset of the first bad character.
Variant ParseJson(std::string_view text, int codePage);
std::string ToJson(const Variant& value, int codePage);

}  // namespace nv::tallyd
