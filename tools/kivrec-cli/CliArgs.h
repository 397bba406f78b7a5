// The companion's command line: one command, its operands and a few options, in any order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kivcli {

enum class Command {
  Help, Create, Info, List, Rename, Delete, DeleteAll, Pack, Check, Recover, Export, Import
};

struct Invocation {
  Command command = Command::Help;
  std::string cassette;  // empty: the default cassette
  bool json = false;
  bool force = false;
  uint32_t number = 0;  // rename, delete
  std::string text;     // rename, as typed
  std::string file;     // export, import: the sound file
  bool mp3 = false;     // export to MP3
  int bitrate = 32;     // kbit/s of an MP3 export
};

struct ParsedArgs {
  bool ok = false;
  Invocation invocation;
  std::string error;  // why the command line was refused, when !ok
};

// `args` are the arguments after the program name.
ParsedArgs ParseArgs(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace kivcli
