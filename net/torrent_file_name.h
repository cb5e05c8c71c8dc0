#pragma once
// Where a downloaded torrent is saved.
#include <string>

#include "text/text.h"

// The file name, in the file system's encoding, for a row's title
// (system-code-page Text) and magnet address: the title without "<", with
// path separators made harmless, and ".torrent". A title that leaves nothing
// is replaced by the magnet's hash. The name always stays inside one
// directory and within the file system's 255-byte limit.
std::string TorrentFileName(const Text& title, const Text& magnet);
