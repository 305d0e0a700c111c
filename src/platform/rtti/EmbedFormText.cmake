# Writes a .cpp holding one form text as bytes (script mode: INPUT, OUTPUT, UNIT, SOURCE).
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT}.tmp
"// Generated from ${SOURCE}; edit that file instead.
#include \"platform/rtti/TypInfo.h\"

namespace nv::formtext {
namespace {
const char kText[] = {
    ${bytes}'\\0'};
}  // namespace
::nv::TEmbeddedText ${UNIT}() { return {std::string_view(kText, ${size}), \"${SOURCE}\"}; }
}  // namespace nv::formtext
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
