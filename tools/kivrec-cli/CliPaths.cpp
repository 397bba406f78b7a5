// Data and temporary folders from the environment.
#include "CliPaths.h"

#include <cstdlib>

namespace kivcli {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

#ifdef _WIN32
std::string WithTrailingBackslash(std::string folder) {
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder + '\\';
}
#else
std::string WithTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder != "/") folder.push_back('/');
  return folder;
}
#endif

}  // namespace

#ifdef _WIN32

// Windows keeps per-user program data in the local application data folder, which the system
// names in LOCALAPPDATA (the shell's CSIDL_LOCAL_APPDATA).
std::optional<std::string> DataFolder() {
  const std::string base = Env("LOCALAPPDATA");
  if (base.empty()) return std::nullopt;
  return WithTrailingBackslash(base) + "Zorvikware\\Kiv Sound Recorder\\";
}

std::string TempFolder() {
  std::string tmp = Env("TMP");
  if (tmp.empty()) tmp = Env("TEMP");
  return WithTrailingBackslash(tmp.empty() ? "C:\\Windows\\Temp" : tmp);
}

const char* DataFolderVariables() { return "LOCALAPPDATA"; }

#else

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

const char* DataFolderVariables() { return "neither XDG_DATA_HOME nor HOME"; }

#endif

}  // namespace kivcli
