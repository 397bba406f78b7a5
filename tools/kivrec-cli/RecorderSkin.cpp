// Reading the recorder's settings and skin key file for the ticker colour tags.
#include "RecorderSkin.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kivcli {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

std::string Trimmed(const std::string& text) {
  const size_t begin = text.find_first_not_of(" \t\r\x1a");
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t\r\x1a") - begin + 1);
}

// QSettings writes a path with special characters quoted and its backslashes doubled.
std::string Unquoted(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) ++i;
    out.push_back(value[i]);
  }
  return out;
}

// The entry of `folder` named `name` in any case, as the recorder finds skin files.
std::optional<std::string> FindNoCase(const std::string& folder, const std::string& name) {
  std::error_code error;
  for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
    if (Lower(item.path().filename().string()) == Lower(name)) return item.path().string();
  }
  return std::nullopt;
}

// "<decimal>%" for a key file colour of hex digits; nothing when it is not one.
std::optional<std::string> TagOf(const std::string& value) {
  const std::string digits = value.substr(0, value.find(','));
  if (digits.empty() || digits.size() > 8 ||
      digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    return std::nullopt;
  }
  return std::to_string(int32_t(std::strtoul(digits.c_str(), nullptr, 16))) + "%";
}

std::optional<std::pair<std::string, std::string>> SkinTags(const std::string& programFolder,
                                                            const std::string& skin) {
  const auto skins = FindNoCase(programFolder, "Skin");
  const auto path = skins ? FindNoCase(*skins, skin + ".set") : std::nullopt;
  const auto keys = path ? KeyFile::Read(*path) : std::nullopt;
  if (!keys || !keys->HasSection(skin)) return std::nullopt;
  // A missing colour reads as the recorder's "0": black.
  const auto tag1 = TagOf(keys->Value(skin, "TickerTapeTextColor1").value_or("0"));
  const auto tag2 = TagOf(keys->Value(skin, "TickerTapeTextColor2").value_or("0"));
  if (!tag1 || !tag2) return std::nullopt;
  return std::make_pair(*tag1, *tag2);
}

std::string SettingsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/Zorvikware/Kiv Sound Recorder.conf";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return {};
  return std::string(home) + "/.config/Zorvikware/Kiv Sound Recorder.conf";
}

}  // namespace

std::optional<KeyFile> KeyFile::Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  KeyFile file;
  file.text_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return file;
}

bool KeyFile::HasSection(const std::string& section) const {
  std::istringstream lines(text_);
  for (std::string line; std::getline(lines, line);) {
    line = Trimmed(line);
    if (line.size() > 1 && line.front() == '[' &&
        Lower(line.substr(1, line.rfind(']') - 1)) == Lower(section)) {
      return true;
    }
  }
  return false;
}

std::optional<std::string> KeyFile::Value(const std::string& section, const std::string& key) const {
  std::istringstream lines(text_);
  bool inSection = false;
  bool seenSection = false;
  for (std::string line; std::getline(lines, line);) {
    line = Trimmed(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (seenSection) return std::nullopt;  // only the first section of the name counts
      inSection = Lower(line.substr(1, line.rfind(']') - 1)) == Lower(section);
      seenSection = inSection;
      continue;
    }
    const size_t equals = line.find('=');
    if (inSection && equals != std::string::npos && Lower(Trimmed(line.substr(0, equals))) == Lower(key)) {
      return Unquoted(Trimmed(line.substr(equals + 1)));
    }
  }
  return std::nullopt;
}

std::pair<std::string, std::string> RecorderColorTags() {
  const std::pair<std::string, std::string> builtIn{"255%", "65280%"};
  const auto settings = KeyFile::Read(SettingsPath());
  if (!settings) return builtIn;
  // The recorder keeps its settings under its version's group.
  const auto folder = settings->Value("3.4", "KSRPath");
  if (!folder || folder->empty()) return builtIn;
  if (auto tags = SkinTags(*folder, "Default")) return *tags;
  if (auto fallback = settings->Value("3.4", "CurrentSkin")) {
    if (auto tags = SkinTags(*folder, *fallback)) return *tags;
  }
  return builtIn;
}

}  // namespace kivcli
