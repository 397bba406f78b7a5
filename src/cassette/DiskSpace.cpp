// The platform-independent part of the disk-space queries.
#include "cassette/DiskSpace.h"

#include <cctype>

namespace kiv {

std::string VolumeNameOfRoot(std::string root) {
  // A drive letter, whatever follows it: the texts say "C:", never "c:\".
  if (root.size() >= 2 && root[1] == ':' && std::isalpha(static_cast<unsigned char>(root[0]))) {
    return std::string(1, char(std::toupper(static_cast<unsigned char>(root[0])))) + ":";
  }
  while (root.size() > 1 && (root.back() == '/' || root.back() == '\\')) root.pop_back();
  return root;
}

}  // namespace kiv
