// Fuzzes the ID3v1 reader: any 128 bytes that read as a tag write back into a tag that reads the
// same. Any property broken below is a bug; it traps so libFuzzer keeps the input.
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzRequire.h"
#include "convert/ID3v1Tag.h"
#include "convert/MemoryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kiv::convert;
  TID3v1Tag tag;
  kiv::convert::MemoryFile file(std::vector<uint8_t>(data, data + size));
  const bool present = tag.LoadFromStream(file, 0, size);
  Require(present == (size >= 128 && data[size - 128] == 'T' && data[size - 127] == 'A' &&
                      data[size - 126] == 'G'));
  if (!present) return 0;
  Require(tag.Title().size() <= 30 && tag.Artist().size() <= 30 && tag.Album().size() <= 30);
  Require(tag.Year().size() <= 4 && tag.Comment().size() <= 30);
  Require(tag.v1() == (tag.Track() == 0));
  (void)tag.Genre();

  // What it writes reads back as the same tag, byte for byte.
  uint8_t first[128], second[128];
  TID3v1Tag back;
  Require(tag.Save(first, 128).ok() && back.Load(first, 128) && back.Save(second, 128).ok());
  Require(std::memcmp(first, second, 128) == 0 && back.Title() == tag.Title() &&
          back.Comment() == tag.Comment() && back.Track() == tag.Track());
  return 0;
}
