// platform/FileSystem.h: the file-system helpers the file formats rely on.
#pragma once
#include <string>

namespace ravel
{

///@{
/// File types returned by FileType: nothing there, a regular file, a directory.
inline constexpr int FILETYPE_NONE = 0;
inline constexpr int FILETYPE_FILE = 1;
inline constexpr int FILETYPE_DIR = 2;
///@}

/// The path with every "\" turned into "/". Every helper below normalises its paths this way first.
std::string NormalisePath(const std::string& path);

/// Absolute form of the path: relative paths are prefixed with the current directory, "." segments are
/// dropped, ".." removes the segment before it (never above the root); the separator is "/".
std::string RealPath(const std::string& path);

/// 0 when nothing is at the path, 1 for a regular file, 2 for a directory.
int FileType(const std::string& path);

/// The path without its extension: from the last ".", provided no "/" follows it.
std::string StripExt(const std::string& path);

/// The extension without its dot ("" when there is none).
std::string ExtractExt(const std::string& path);

/// Copies the whole source file over the destination (created or replaced). Returns 1 on success;
/// nothing is copied when either file cannot be opened.
int CopyFile(const std::string& src, const std::string& dst);

/// Removes the file; 1 when no file of that name exists afterwards.
int DeleteFile(const std::string& path);

/// Creates an empty file, replacing any file of that name; 1 when a regular file exists afterwards.
int CreateFile(const std::string& path);

/// Renames a file, atomically replacing any file at the destination; 1 on success.
int RenameFile(const std::string& from, const std::string& to);

/// The current directory, with "/" separators and no trailing "/" (except for the root).
std::string CurrentDir();

/// The folder of the running program's executable, ending in "/"; empty when the system does not say.
std::string ProgramDir();

} // namespace ravel
