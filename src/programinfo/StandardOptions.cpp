#include "programinfo/StandardOptions.h"

#include <string_view>

namespace kiv {

std::string_view ProgramVersion() { return KIVREC_VERSION; }

std::optional<int> AnswerStandardOption(int argc, const char* const* argv, std::string_view program,
                                        std::string_view usage, std::ostream& out) {
  if (argc < 2 || argv[1] == nullptr) return std::nullopt;
  const std::string_view option = argv[1];
  if (option == "--help") {
    out << usage;
  } else if (option == "--version") {
    out << program << " (Kiv Sound Recorder) " << ProgramVersion() << "\n";
  } else {
    return std::nullopt;
  }
  // A version that never reached its reader (a full disk, a closed pipe) is not a success.
  out.flush();
  return out ? 0 : 1;
}

}  // namespace kiv
