#pragma once
// Files, folders and path texts. The suite builds paths with "\" (ClientPath + "C_DATA\");
// every function here that touches the file system first maps "\" to "/" (NativePath), and
// the path-text helpers take either delimiter as a delimiter.
#include <string>
#include <string_view>

namespace nv {

inline constexpr char PathDelim = '/';

// The path with every "\" turned into "/": the form the file system is asked with.
std::string NativePath(std::string_view path);

bool IsPathDelimiterChar(char c);

// A path that names its place from the root: "/..." here, or "D:\..." as written on the
// suite's machines. A path that begins with "\" is taken as relative to the installation
// folder by the configuration rules, so it does not count.
bool PathStartsWithDrive(std::string_view path);

// Adds "/" unless the path already ends with "/" or "\".
std::string IncludeTrailingPathDelimiter(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);
// Everything up to and including the last delimiter ("" when there is none).
std::string ExtractFilePath(std::string_view fileName);
// Everything after the last delimiter.
std::string ExtractFileName(std::string_view fileName);
// The extension with its dot, from the last "." of the file name ("" when there is none).
std::string ExtractFileExt(std::string_view fileName);
// Replaces the extension (or appends one); extension includes the dot, or is empty.
std::string ChangeFileExt(std::string_view fileName, std::string_view extension);

// A regular file (a folder is no file).
bool FileExists(std::string_view fileName);
bool DirectoryExists(std::string_view folder);
// Creates one folder whose parent exists; false when it cannot.
bool CreateDir(std::string_view folder);
// Creates the folder and every missing parent; true when the folder exists afterwards.
bool ForceDirectories(std::string_view folder);
bool DeleteFile(std::string_view fileName);

// Reads a whole file; false when it is missing or cannot be read (content then empty).
bool ReadWholeFile(std::string_view fileName, std::string& content);

// The temporary folder with a trailing "/": TMPDIR when set, otherwise /tmp.
std::string GetTempPath();
// The login name of the user running the program; "" when the system cannot tell.
std::string GetUserName();
// The running program's executable (absolute) and its folder with a trailing "/".
std::string GetHostProgramFileName();
std::string GetHostProgramFolder();

}  // namespace nv
