// The converter as the running recorder gets it: from kivconvertmodule, the library beside the
// program that holds the converter and its codec libraries. They are loaded at the first export
// or import, not at start, so a recorder that never converts does not carry them.
#pragma once

#include <QString>
#include <memory>

#include "convert/ConversionJob.h"

namespace kiv {
namespace ConverterModule {

// A new job working with `tempFolder` for its log and intermediate files, or null when the
// library cannot be loaded (the reason is in `why`).
std::unique_ptr<ConversionJob> NewJob(const QString& tempFolder, const QString& programFolder,
                                      QString* why = nullptr);

}  // namespace ConverterModule
}  // namespace kiv
