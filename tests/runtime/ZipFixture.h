#pragma once
// Small zip archives for the download tests, written with libzip.
#include <zip.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace nv::testing {

inline void WriteZip(const std::filesystem::path& archive,
                     const std::vector<std::pair<std::string, std::string>>& entries) {
  int error = 0;
  zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  for (const auto& [name, content] : entries) {
    zip_source_t* source = zip_source_buffer(zip, content.data(), content.size(), 0);
    zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE);
  }
  zip_close(zip);
}

}  // namespace nv::testing
