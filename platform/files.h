#pragma once
// The program's directory and writing whole files. Paths are in the file
// system's own encoding (UTF-8 on Linux).
#include <string>

#include "text/text.h"

namespace files {

// The directory of the running program file, without a trailing "/" (so the
// root directory is empty).
std::string ProgramDirectory();
// Tests point the program's directory elsewhere; empty restores the real one.
void SetProgramDirectoryForTesting(const std::string& directory);

// Writes `bytes` to a new file beside `path` and renames it over `path`, so
// readers see either the old file or the complete new one, never a partial
// one. False, with nothing left behind and `path` untouched, on any failure.
bool WriteFileAtomically(const std::string& path, const Bytes& bytes);

}  // namespace files
