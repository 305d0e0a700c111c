#include "suite/appserver/Trace.h"

#include <cstdio>

#include "platform/core/DateUtils.h"

namespace nv::tallyd {

void TStatementTrace::Append(std::string_view user, std::string_view statement, double elapsedMs) {
  std::string line =
      "[" + FormatDateTime("yyyy\"/\"mm\"/\"dd hh\":\"nn\":\"ss\":\"zzz", Now()) + "] user=";
  line.append(user);
  char ms[32];
  std::snprintf(ms, sizeof ms, " ms=%.3f ", elapsedMs);
  line += ms;
  // One statement per line: line breaks inside a statement become blanks.
  for (char c : statement) line.push_back(c == '\r' || c == '\n' ? ' ' : c);
  line.push_back('\n');
  std::lock_guard<std::mutex> lock(mutex_);
  if (FILE* f = std::fopen(fileName_.c_str(), "ab")) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  }
}

}  // namespace nv::tallyd
