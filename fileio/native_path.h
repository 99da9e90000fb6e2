#pragma once
// Paths travel through the program as text: on Windows as UTF-8 (converted
// once where they come in: the wide command line, the file dialog, a folder's
// listing), elsewhere as the bytes the system gives. A song's title is taken
// from that text, so a name gives the same title bytes on every system. These
// turn the text into a path for the file system and back, and open files by it.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/wide_text.h"  // the wide-character conversions, on Windows

namespace zmr {

std::filesystem::path nativePath(std::string_view text);
std::string pathText(const std::filesystem::path& path);

// std::fopen by path; on Windows through the wide-character API, so that any
// name opens, whatever the system's code page.
std::FILE* openFile(const std::filesystem::path& path, const char* mode);
// A new file for reading and writing in binary; fails when the name exists.
// On Windows it is hidden (FILE_ATTRIBUTE_HIDDEN), as its leading dot hides
// it elsewhere: the temporary files are made with it.
std::FILE* createNewFile(const std::filesystem::path& path);
// On Windows, sets or clears a file's hidden attribute (false when that
// fails); elsewhere nothing, the name says it.
bool setHidden(const std::filesystem::path& path, bool hidden);

#ifdef _WIN32
// The program's wide command line as UTF-8 words (argv holds the system's
// code page, which loses the letters it cannot show); empty if unavailable.
std::vector<std::string> utf8CommandLine();
#endif

}  // namespace zmr
