// ZAC, the recorder's external converter program. The panel starts it with "export" or "import"
// after writing the job into the settings, when the setting "UseZACexe" is "YES".
#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <memory>

#include "ZacConverter.h"
#include "ZacSession.h"
#include "platform/QtConversionDoneChannel.h"
#include "platform/QtDialogs.h"
#include "platform/QtSettingsStore.h"
#include "programinfo/StandardOptions.h"

int main(int argc, char** argv) {
  if (const auto status = kiv::AnswerStandardOption(
          argc, argv, "ZAC", kiv::zac::Usage().toStdString(), std::cout)) {
    return *status;
  }
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  // Help and usage need no display: only a job brings up the widgets.
  std::unique_ptr<QCoreApplication> app;
  if (kiv::zac::ParseMode(arguments)) {
    app = std::make_unique<QApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  QTextStream out(stdout);
  QTextStream errors(stderr);
  kiv::QtSettingsStore store;
  // No panel of its own: the boxes have no owner and nothing to take out of the topmost band.
  kiv::QtDialogs dialogs(nullptr, {});
  const auto tell = [](const QString& handle, qint32 wPar, qint32 lPar) {
    return kiv::SendConversionDone(handle, wPar, lPar);
  };
  return kiv::zac::RunProgram(arguments, store, dialogs, &kiv::zac::RunConverter, tell, out,
                              errors);
}
