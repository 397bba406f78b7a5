// What the reading commands print: info, list and check, as text or JSON, all drawn from one
// kiv::CassetteReport so that nothing here opens or changes the file.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

#include "cassette/CassetteReport.h"

namespace kivcli {

// The summary goes to `out`, each problem of the file to `err`.
void PrintInfoText(const kiv::CassetteReport& report, std::ostream& out, std::ostream& err);
void PrintInfoJson(const kiv::CassetteReport& report, std::ostream& out);

// Needs a report with a table.
void PrintListText(const kiv::CassetteReport& report, std::ostream& out);
void PrintListJson(const kiv::CassetteReport& report, std::ostream& out);

// Prints the findings (the problems and their count to `err`) and returns how many problems they
// hold; a waiting recording counts as one, since the cassette is not what the recorder will show
// until it is merged.
size_t PrintCheck(const kiv::CassetteReport& report, std::ostream& out, std::ostream& err);

// File names on Linux are bytes; most are UTF-8 and stay as they are, the rest are shown as
// Latin-1 so the JSON stays valid.
std::string PathForJson(const std::string& path);

// One line on the sidecar for a person: none, waiting, or present with nothing to recover.
std::string SidecarSummary(const kiv::CassetteReport& report);

}  // namespace kivcli
