// The companion's commands over the cassette store. Reading commands look at the file through
// InspectCassette only; writing commands inspect first and hand the file to kiv::Cassette only
// when it has a valid table and no recording waits in its sidecar, because opening a file
// without a table would make the store replace it.
#pragma once

#include <iosfwd>

#include "CliArgs.h"

namespace kivcli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFileProblem = 2;

// Runs one parsed command; results go to `out`, complaints to `err`. Returns the exit status.
int RunCommand(const Invocation& invocation, std::ostream& out, std::ostream& err);

}  // namespace kivcli
