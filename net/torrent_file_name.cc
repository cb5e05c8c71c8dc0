#include "net/torrent_file_name.h"

#include "net/torrent_check.h"
#include "platform/codepage.h"

namespace {

constexpr size_t kMaxNameBytes = 255;
const std::string kExtension = ".torrent";

// Works on the converted name: in UTF-8 no byte of a multi-byte character is
// below 0x80, so every "<", "/" and "\" found here is one in the name.
std::string Harmless(const std::string& name) {
  std::string out;
  for (char c : name) {
    if (c == '<') continue;
    out += (c == '/' || c == '\\') ? '_' : c;
  }
  return out;
}

// Cuts at a character boundary so the name stays valid UTF-8.
std::string Shortened(std::string name, size_t limit) {
  if (name.size() <= limit) return name;
  size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  name.resize(cut);
  return name;
}

}  // namespace

std::string TorrentFileName(const Text& title, const Text& magnet) {
  std::string stem = Harmless(codepage::AnsiToUtf8(title));
  if (stem.empty()) stem = Harmless(MagnetHashText(magnet));
  if (stem.empty()) {
    size_t query = magnet.find('?');
    stem = Harmless(query == Text::npos ? magnet : magnet.substr(query + 1));
  }
  if (stem.empty()) stem = "torrent";
  return Shortened(stem, kMaxNameBytes - kExtension.size()) + kExtension;
}
