#pragma once
// The platform's Format: "%" [index ":"] ["-"] [width] ["." precision] type, with types
// d u x (integers; precision = least digits), e f g n m (floats), s (texts; precision = most
// bytes), p, and "%%". Width and precision may be "*", taken from the next argument. An
// argument of the wrong kind, a missing argument or a broken specifier raises EConvertError
// "Format 'fmt' invalid or incompatible with argument", so callers can take their "when
// formatting fails" path.
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/Variant.h"

namespace nv {

std::string Format(std::string_view format, std::span<const Variant> args);
std::string Format(std::string_view format, std::initializer_list<Variant> args);

}  // namespace nv
