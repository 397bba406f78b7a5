// The two options every program of the recorder answers alike, before it does anything else (no
// display, no settings, no single-instance check): --help prints the program's usage, --version
// its name and the version of this build. Plain C++, so the command-line companion shares it.
#pragma once

#include <optional>
#include <ostream>
#include <string_view>

namespace kiv {

// The version of this build ("3.4.0"), set once by project() in the top-level CMakeLists.txt.
std::string_view ProgramVersion();

// When the first argument after the program name is --help or --version, writes the answer to
// `out` and returns the exit status: 0, or 1 when the text could not be written. Otherwise writes
// nothing and returns nothing, and the program goes on with its own arguments.
std::optional<int> AnswerStandardOption(int argc, const char* const* argv, std::string_view program,
                                        std::string_view usage, std::ostream& out);

}  // namespace kiv
