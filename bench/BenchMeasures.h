#pragma once
// What the benchmarks print beside their rates: peak and current resident memory, elapsed time.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

namespace nv::bench {

inline long PeakKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

inline long CurrentKb() {
  std::ifstream in("/proc/self/statm");
  long pages = 0, resident = 0;
  in >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

inline double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace nv::bench
