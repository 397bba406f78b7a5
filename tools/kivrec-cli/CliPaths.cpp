// Data and temporary folders from the environment.
#include "CliPaths.h"

#include <cstdlib>

namespace kivcli {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string WithTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder != "/") folder.push_back('/');
  return folder;
}

}  // namespace

std::optional<std::string> DataFolder() {
  std::string base = Env("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is invalid and must be ignored.
  if (base.empty() || base.front() != '/') {
    const std::string home = Env("HOME");
    if (home.empty()) return std::nullopt;
    base = WithTrailingSlash(home) + ".local/share";
  }
  return WithTrailingSlash(base) + "Zorvikware/Kiv Sound Recorder/";
}

std::string TempFolder() {
  const std::string tmp = Env("TMPDIR");
  return WithTrailingSlash(tmp.empty() ? "/tmp" : tmp);
}

}  // namespace kivcli
