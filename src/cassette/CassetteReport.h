// A read-only look at a cassette file: what its table says, what is wrong with it and whether a
// recording waits in its sidecar. Nothing is opened for writing and nothing is repaired, so a
// damaged file can be examined before anyone decides what to do with it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cassette/File.h"
#include "cassette/MessageTable.h"
#include "cassette/Status.h"

namespace kiv {

struct CassetteReport {
  std::string path;
  uint64_t length = 0;
  // The table the recorder would use: found by the bounded search with a valid rate word.
  std::optional<MessageTable> table;
  // A marker exists only further back than the bounded search reaches (a table too large).
  bool tableBeyondSearch = false;
  uint32_t messageCount = 0;
  bool inconsistent = false;
  bool sidecarExists = false;
  // The sidecar holds a recording that the next open will merge into the cassette.
  bool recoveryPending = false;
  // One sentence per problem found (damaged offsets, bad rate word, partial entry, ...).
  std::vector<std::string> problems;
  // "10':00\" left for recording" and the like.
  std::string remaining;
};

// NotFound / Unavailable when the file cannot be read; Ok otherwise, even for a damaged file.
Status InspectCassette(const std::string& path, CassetteReport* report,
                       FileSystem& files = FileSystem::Default());

}  // namespace kiv
