#include "ZacConverter.h"

#include <QCoreApplication>
#include <QDir>
#include <string>

#include "convert/ZCAConv.h"

namespace kiv::zac {

void RunConverter(const Job& job, Session& session) {
  convert::TZCAConv converter(convert::DefaultZcaEnvironment(
      QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + u'/').toStdString()));
  converter.OnException = [&](const std::string& text) {
    session.Text(QString::fromStdString(text));
  };
  converter.OnConversionBegin = [&](int64_t min, int64_t max, const std::string& title,
                                    uint32_t color) {
    session.Begin(min, max, QString::fromStdString(title), color);
  };
  converter.OnConversionProgress = [&](int64_t position) { session.Advance(position); };
  converter.OnConversionEnd = [&] { session.End(); };
  converter.OnConversionDone = [&](uint32_t wPar, uint32_t lPar) {
    session.Done(qint32(wPar), qint32(lPar));
  };

  // Values the job leaves out keep the converter's defaults.
  converter.SetChangeFrom(job.changeFrom.toStdString());
  converter.SetChangeFromType(job.changeFromType.toStdString());
  if (job.changeFromFreq) converter.SetChangeFromFreq(*job.changeFromFreq);
  if (job.changeToFreq) converter.SetChangeToFreq(*job.changeToFreq);
  if (job.changeToMessageStart) converter.SetChangeToMessageStart(*job.changeToMessageStart);
  if (job.changeToMessageEnd) converter.SetChangeToMessageEnd(*job.changeToMessageEnd);
  converter.SetChangeTo(job.changeTo.toStdString());
  converter.SetChangeToType(job.changeToType.toStdString());

  if (job.mode == Mode::Export) {
    // The title and track label only an MP3 target, which the panel never asks for; the panel
    // does not hand them over.
    converter.DoExport("Kiv Sound Recorder Export", std::string(), 0);
  } else {
    converter.DoImport();
  }
}

}  // namespace kiv::zac
