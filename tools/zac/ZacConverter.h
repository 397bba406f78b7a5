// The converter that does the program's jobs: the same TZCAConv the panel has built in, given
// the job's values and wired to the session's handlers.
#pragma once

#include "ZacSession.h"

namespace kiv::zac {

void RunConverter(const Job& job, Session& session);

}  // namespace kiv::zac
