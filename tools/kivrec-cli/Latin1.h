// Message names are single-byte Latin-1 text, as the recorder stores them; terminals and JSON
// speak UTF-8. These two conversions are the only place the companion changes encodings.
#pragma once

#include <string>
#include <string_view>

namespace kivcli {

// True when `text` is well-formed UTF-8.
bool IsUtf8(std::string_view text);

// Every byte becomes the code point of the same value.
std::string Latin1ToUtf8(std::string_view latin1);

// Well-formed UTF-8 becomes Latin-1, with '?' for characters Latin-1 lacks. Text that is not
// UTF-8 is taken to be Latin-1 already and returned unchanged.
std::string Utf8ToLatin1(std::string_view utf8);

}  // namespace kivcli
