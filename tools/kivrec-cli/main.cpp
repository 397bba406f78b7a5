// kivrec-cli: the command-line companion of Kiv Sound Recorder.
#include <iostream>
#include <string>
#include <vector>

#include "CliArgs.h"
#include "CliCommands.h"
#include "programinfo/StandardOptions.h"

int main(int argc, char** argv) {
  if (const auto status =
          kiv::AnswerStandardOption(argc, argv, "kivrec-cli", kivcli::UsageText(), std::cout)) {
    return *status;
  }
  const std::vector<std::string> args(argv + 1, argv + argc);
  const kivcli::ParsedArgs parsed = kivcli::ParseArgs(args);
  if (!parsed.ok) {
    std::cerr << "kivrec-cli: " << parsed.error << "\n\n" << kivcli::UsageText();
    return kivcli::kExitUsage;
  }
  const int status = kivcli::RunCommand(parsed.invocation, std::cout, std::cerr);
  std::cout.flush();
  // A listing that did not reach its reader is not a success.
  if (!std::cout) return kivcli::kExitFileProblem;
  return status;
}
