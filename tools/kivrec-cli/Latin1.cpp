// Latin-1 <-> UTF-8.
#include "Latin1.h"

#include <cstdint>
#include <optional>

namespace kivcli {
namespace {

// Decodes the sequence starting at `text[*i]` and advances `*i`; nullopt when it is malformed
// (stray continuation byte, truncated, overlong, a surrogate or beyond U+10FFFF).
std::optional<uint32_t> NextCodePoint(std::string_view text, size_t* i) {
  const auto lead = uint8_t(text[*i]);
  size_t extra = 0;
  uint32_t cp = 0;
  uint32_t minimum = 0;
  if (lead < 0x80) {
    ++*i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() - *i <= extra) return std::nullopt;
  for (size_t k = 1; k <= extra; ++k) {
    const auto byte = uint8_t(text[*i + k]);
    if ((byte & 0xC0) != 0x80) return std::nullopt;
    cp = cp << 6 | (byte & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  *i += extra + 1;
  return cp;
}

}  // namespace

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    if (!NextCodePoint(text, &i)) return false;
  }
  return true;
}

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char c : latin1) {
    const auto byte = uint8_t(c);
    if (byte < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(char(0xC0 | byte >> 6));
      out.push_back(char(0x80 | (byte & 0x3F)));
    }
  }
  return out;
}

std::string Utf8ToLatin1(std::string_view utf8) {
  if (!IsUtf8(utf8)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const uint32_t cp = *NextCodePoint(utf8, &i);
    out.push_back(cp <= 0xFF ? char(cp) : '?');
  }
  return out;
}

}  // namespace kivcli
