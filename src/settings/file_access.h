#pragma once

#include <string>
#include <string_view>

namespace settings {

enum class ReadStatus { Read, Missing, NotAFile, Unreadable, TooLarge };

// Reads a whole regular file of at most maxBytes. Anything else (a folder, a
// device, a pipe) is NotAFile and is not read, so it cannot block.
ReadStatus readWholeFile(const std::string& path, size_t maxBytes, std::string& bytes);

// Replaces the file with these bytes through a temporary file in the same folder
// that is flushed to disk and renamed over it: at every moment the file is either
// complete old or complete new. An existing file keeps its permission bits. False,
// with the file untouched, when the file is read-only (no write bit, or no write
// access), is not a regular file, or any step fails.
bool replaceFileAtomically(const std::string& path, std::string_view bytes);

// Renames the file to path + suffix, or path + suffix + ".1" ... when that name is
// taken, so an earlier copy is never overwritten. False when the rename fails.
bool moveAside(const std::string& path, const std::string& suffix);

// The file a path stands for: a symbolic link's target, else the path itself.
std::string resolvedPath(const std::string& path);

}  // namespace settings
