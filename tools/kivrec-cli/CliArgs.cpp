// Command-line parsing and the usage text.
#include "CliArgs.h"

#include <array>
#include <optional>
#include <utility>

#include "cassette/CassetteLayout.h"

namespace kivcli {
namespace {

struct CommandShape {
  const char* name;
  Command command;
  size_t operands;
  const char* synopsis;  // the operands as the usage text names them
};

constexpr std::array<CommandShape, 9> kCommands{{
    {"create", Command::Create, 0, ""},
    {"info", Command::Info, 0, ""},
    {"list", Command::List, 0, ""},
    {"rename", Command::Rename, 2, "N TEXT"},
    {"delete", Command::Delete, 1, "N"},
    {"delete-all", Command::DeleteAll, 0, ""},
    {"pack", Command::Pack, 0, ""},
    {"check", Command::Check, 0, ""},
    {"recover", Command::Recover, 0, ""},
}};

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
  if (inv.json && inv.command != Command::Info && inv.command != Command::List) {
    return Refuse("--json applies to info and list only");
  }
  if (inv.force && inv.command != Command::Create) return Refuse("--force applies to create only");

  if (shape->operands >= 1) {
    std::optional<uint32_t> number = ParseMessageNumber(positional[1]);
    if (!number)
      return Refuse("N must be a message number from 1 to 65534, not '" + positional[1] + "'");
    inv.number = *number;
  }
  if (shape->operands == 2) {
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
  check           examine the cassette and its sidecar without changing anything
  recover         merge an interrupted recording from its sidecar into the cassette

Options:
  --cassette PATH work on PATH instead of the default cassette,
                  $XDG_DATA_HOME/Zorvikware/Kiv Sound Recorder/kivrec.cst
  --json          with info and list: print one JSON document instead of text
  --force         with create: empty a cassette that holds something
  -h, --help      print this text
  --              end of options, for a TEXT that begins with "-"

A file without a valid message table is never changed: the writing commands
refuse it, and recover only merges a waiting recording sidecar. While a command
writes, it holds the cassette against other writers, as the recorder does.

Exit status:
  0  done; for check, no problem found
  1  the command line is wrong
  2  a problem with the cassette (missing, in use, no valid table, no such
     message, a failed write); for check, problems were found. The problems
     themselves are written to stderr.
)";
}

}  // namespace kivcli
