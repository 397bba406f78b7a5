// Command-line parsing and the usage text.
#include "CliArgs.h"

#include <array>
#include <cctype>
#include <optional>
#include <utility>

#include "cassette/CassetteLayout.h"

namespace kivcli {
namespace {

struct CommandShape {
  const char* name;
  Command command;
  size_t operands;
  bool numbered;         // the first operand is a message number
  const char* synopsis;  // the operands as the usage text names them
};

constexpr std::array<CommandShape, 11> kCommands{{
    {"create", Command::Create, 0, false, ""},
    {"info", Command::Info, 0, false, ""},
    {"list", Command::List, 0, false, ""},
    {"rename", Command::Rename, 2, true, "N TEXT"},
    {"delete", Command::Delete, 1, true, "N"},
    {"delete-all", Command::DeleteAll, 0, false, ""},
    {"pack", Command::Pack, 0, false, ""},
    {"check", Command::Check, 0, false, ""},
    {"recover", Command::Recover, 0, false, ""},
    {"export", Command::Export, 2, true, "N FILE"},
    {"import", Command::Import, 1, false, "FILE"},
}};

// The extension of `path` in lower case, without the dot.
std::string ExtensionOf(const std::string& path) {
  const size_t dot = path.find_last_of("./");
  if (dot == std::string::npos || path[dot] != '.') return {};
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

ParsedArgs Refuse(std::string error) {
  ParsedArgs parsed;
  parsed.error = std::move(error);
  return parsed;
}

std::optional<uint32_t> ParseMessageNumber(const std::string& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + uint32_t(c - '0');
  }
  if (!kiv::IsLiveNumber(value)) return std::nullopt;
  return value;
}

}  // namespace

ParsedArgs ParseArgs(const std::vector<std::string>& args) {
  Invocation inv;
  bool cassetteGiven = false;
  bool bitrateGiven = false;
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      positional.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-h" || arg == "--help") {
      ParsedArgs help;
      help.ok = true;
      return help;
    } else if (arg == "--json") {
      inv.json = true;
    } else if (arg == "--force") {
      inv.force = true;
    } else if (arg == "--mp3") {
      inv.mp3 = true;
    } else if (arg == "--bitrate") {
      if (i + 1 >= args.size()) return Refuse("--bitrate needs a number of kbit/s");
      const std::string& value = args[++i];
      const bool digits = !value.empty() && value.size() <= 3 &&
                          value.find_first_not_of("0123456789") == std::string::npos;
      inv.bitrate = digits ? std::stoi(value) : 0;
      if (inv.bitrate < 8 || inv.bitrate > 320) {
        return Refuse("--bitrate takes 8 to 320 kbit/s, not '" + value + "'");
      }
      bitrateGiven = true;
    } else if (arg == "--cassette" || arg.rfind("--cassette=", 0) == 0) {
      if (cassetteGiven) return Refuse("--cassette is given twice");
      if (arg == "--cassette") {
        if (i + 1 >= args.size()) return Refuse("--cassette needs a path");
        inv.cassette = args[++i];
      } else {
        inv.cassette = arg.substr(std::string("--cassette=").size());
      }
      if (inv.cassette.empty()) return Refuse("--cassette needs a path");
      cassetteGiven = true;
    } else {
      return Refuse("unknown option " + arg);
    }
  }

  if (positional.empty()) return Refuse("no command given");
  const CommandShape* shape = nullptr;
  for (const CommandShape& candidate : kCommands) {
    if (positional[0] == candidate.name) shape = &candidate;
  }
  if (shape == nullptr) return Refuse("unknown command " + positional[0]);
  inv.command = shape->command;
  if (positional.size() - 1 != shape->operands) {
    return Refuse(std::string(shape->name) + (shape->operands == 0
                                                  ? std::string(" takes no operands")
                                                  : std::string(" takes ") + shape->synopsis));
  }
  if (inv.json && inv.command != Command::Info && inv.command != Command::List &&
      inv.command != Command::Export && inv.command != Command::Import) {
    return Refuse("--json applies to info, list, export and import only");
  }
  if (inv.force && inv.command != Command::Create) return Refuse("--force applies to create only");
  if (inv.mp3 && inv.command != Command::Export) return Refuse("--mp3 applies to export only");
  if (bitrateGiven && !inv.mp3) return Refuse("--bitrate applies to export --mp3 only");
  if (inv.command == Command::Export || inv.command == Command::Import) {
    inv.file = positional.back();
    const std::string ext = ExtensionOf(inv.file);
    const bool fits = inv.command == Command::Import ? ext == "wav" || ext == "mp3"
                                                     : ext == (inv.mp3 ? "mp3" : "wav");
    if (!fits) {
      return Refuse(inv.command == Command::Import ? "FILE must be a .wav or .mp3 file"
                    : inv.mp3 ? "with --mp3, FILE must end in .mp3"
                              : "FILE must end in .wav (or in .mp3, with --mp3)");
    }
  }

  if (shape->numbered) {
    std::optional<uint32_t> number = ParseMessageNumber(positional[1]);
    if (!number)
      return Refuse("N must be a message number from 1 to 65534, not '" + positional[1] + "'");
    inv.number = *number;
  }
  if (inv.command == Command::Rename) {
    inv.text = positional[2];
    if (inv.text.empty()) return Refuse("TEXT must not be empty");
  }
  ParsedArgs parsed;
  parsed.ok = true;
  parsed.invocation = std::move(inv);
  return parsed;
}

std::string UsageText() {
  return R"(Usage: kivrec-cli [--cassette PATH] COMMAND [OPERANDS]

Reads and edits a Kiv Sound Recorder cassette, for scripts and for rescue.

Commands:
  create          make a blank cassette; a file that is not empty is only
                  emptied with --force
  info            a summary: rate, length, table position, messages, sidecar,
                  time left and problems; with --json every table entry too
  list            the messages, one line each as the message selector shows them
  rename N TEXT   set the note of message N, which follows its date and time
                  (UTF-8 in, stored as Latin-1; "|" and "%" become spaces;
                  a long note is cut)
  delete N        delete message N and pack the cassette
  delete-all      delete every message, leaving a blank cassette
  pack            rebuild the cassette without the sound of deleted messages
  export N FILE   write message N to the WAV file FILE (8-bit mono at the
                  cassette's rate); with --mp3 to an MP3 file with an ID3 tag
                  naming the message
  import FILE     append the WAV or MP3 file FILE as a new last message, named
                  after the MP3's title, else "Imported"; a missing cassette
                  is made first
  check           examine the cassette and its sidecar without changing anything
  recover         merge an interrupted recording from its sidecar into the cassette

Options:
  --cassette PATH work on PATH instead of the default cassette,
                  $XDG_DATA_HOME/Zorvikware/Kiv Sound Recorder/kivrec.cst
  --json          with info, list, export and import: print one JSON document
                  instead of text
  --mp3           with export: write MP3 instead of WAV
  --bitrate K     with export --mp3: K kbit/s (default 32; at the usual 11025
                  Hz a mono MP3 holds 16)
  --force         with create: empty a cassette that holds something
  -h, --help      print this text
  --version       print the version
  --              end of options, for a TEXT that begins with "-"

Export and import draw a progress bar on stderr when it is a terminal.

A file without a valid message table is never changed: the writing commands
refuse it, and recover only merges a waiting recording sidecar. While a command
writes, it holds the cassette against other writers, as the recorder does.

Exit status:
  0  done; for check, no problem found
  1  the command line is wrong
  2  a problem with the cassette (missing, in use, no valid table, no such
     message, a failed write, a sound file that cannot be read or written); for
     check, problems were found. The problems themselves are written to
     stderr. A refused or failed command leaves the cassette as it was.
)";
}

}  // namespace kivcli
