// The colour tags of the skin the recorder uses, found without Qt: the recorder's settings file
// (QSettings' native INI file on Linux) names the program folder, and the skin's key file there
// holds the ticker colours. Names the companion writes then look like the recorder's own.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace kivcli {

// One INI or key file read the way both of the recorder's readers agree on: section and key
// names compare without regard to case, blanks around names and values are dropped, one pair of
// enclosing quotes is removed, lines starting with ';' are comments, the first of a name wins.
class KeyFile {
 public:
  // Nothing when the file cannot be read.
  static std::optional<KeyFile> Read(const std::string& path);
  bool HasSection(const std::string& section) const;
  std::optional<std::string> Value(const std::string& section, const std::string& key) const;

 private:
  std::string text_;
};

// Colour tags 1 and 2 ("<decimal BBGGRR>%") of the recorder's skin: "Default" as every start
// tries first, else the skin the recorder fell back to; the recorder's built-in tags when no
// settings or no readable skin key file are found.
std::pair<std::string, std::string> RecorderColorTags();

}  // namespace kivcli
