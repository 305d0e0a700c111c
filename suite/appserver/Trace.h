#pragma once
// The statement trace for support: when the server configuration switches it on, every
// statement the server runs is appended, after "$$" resolution, with a time stamp, the user
// and the elapsed time, one statement per line.
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace nv::tallyd {

class TStatementTrace {
 public:
  explicit TStatementTrace(std::string fileName) : fileName_(std::move(fileName)) {}
  // [YYYY/MM/DD hh:nn:ss:zzz] user=U ms=1.234 statement
  void Append(std::string_view user, std::string_view statement, double elapsedMs);
  const std::string& FileName() const { return fileName_; }

 private:
  std::mutex mutex_;
  std::string fileName_;
};

}  // namespace nv::tallyd
