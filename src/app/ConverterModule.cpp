// Loading kivconvertmodule and asking it for a job.
#include "app/ConverterModule.h"

#include <QFile>
#include <QLibrary>

#include "platform/InstallLayout.h"

namespace kiv {
namespace ConverterModule {

std::unique_ptr<ConversionJob> NewJob(const QString& tempFolder, const QString& programFolder,
                                      QString* why) {
  // Loaded once and kept: a job's code must stay mapped until the program ends.
  static QLibrary* library =
      new QLibrary(InstallLayout::ModulePath(QStringLiteral("kivconvertmodule")));
  if (!library->isLoaded() && !library->load()) {
    if (why) *why = library->errorString();
    return nullptr;
  }
  const auto make = reinterpret_cast<NewConversionJobFunction>(library->resolve(kNewConversionJob));
  if (make == nullptr) {
    if (why) *why = library->errorString();
    return nullptr;
  }
  return std::unique_ptr<ConversionJob>(
      make(QFile::encodeName(tempFolder).constData(), QFile::encodeName(programFolder).constData()));
}

}  // namespace ConverterModule
}  // namespace kiv
