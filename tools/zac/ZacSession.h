// One run of the external converter program: reads the job, lets the converter do it, shows what
// the converter has to say, and tells the waiting panel that the job is over.
//
// The converter itself comes in as a function (ZacConverter.h in the program, something scripted
// in tests), which is handed the job and this session and calls the session's handlers from its
// events. The session owns the progress window; the texts go into message boxes through the
// dialogs service and, one line each, to the error stream, so a run without anyone at the screen
// still leaves them somewhere.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>
#include <utility>

#include "ZacJob.h"
#include "panel/ConversionProgress.h"

namespace kiv {

class Dialogs;
class SettingsStore;

namespace zac {

// The caption of every box this program shows.
QString BoxCaption();

// What --help prints, and the refusal of any other command line that is not a job.
QString Usage();

// Tells the panel listening under `handle` that the job ended with (wPar, lPar); true when the
// panel confirmed. The program sends through the done channel (SendConversionDone).
using PanelTeller = std::function<bool(const QString& handle, qint32 wPar, qint32 lPar)>;

class Session {
 public:
  // `handle` is the panel's channel name ("DDHandle"); `errors` receives a copy of every text.
  Session(Dialogs& dialogs, QString handle, PanelTeller tell, QTextStream& errors);

  // The converter's events. The program has nothing else to do while its job runs, so it lets
  // the window system map and paint the progress window as the job goes.
  void Begin(qint64 min, qint64 max, const QString& title, quint32 color) {
    progress_.Begin(min, max, title, color);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  void Advance(qint64 position) {
    progress_.Advance(position);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  void End() { progress_.End(); }
  void Text(const QString& text);
  // The job is over: the words go to the panel at once. Only the first call counts; a converter
  // reports a job's end once.
  void Done(qint32 wPar, qint32 lPar);

  std::optional<std::pair<qint32, qint32>> DoneWords() const { return words_; }
  // Whether the panel confirmed the done words.
  bool PanelTold() const { return panelTold_; }
  const ConversionProgress& ProgressWindow() const { return progress_; }

 private:
  Dialogs& dialogs_;
  QString handle_;
  PanelTeller tell_;
  QTextStream& errors_;
  ConversionProgress progress_;
  std::optional<std::pair<qint32, qint32>> words_;
  bool panelTold_ = false;
};

using Converter = std::function<void(const Job& job, Session& session)>;

// What the program returns.
enum ExitCode : int {
  kSucceeded = 0,
  kUsage = 1,        // no argument, or not "export" or "import"
  kJobFailed = 2,    // the converter reported (1, 1), or anything but its success words
  kPanelNotTold = 3  // the job ended, but no panel listened under "DDHandle"
};

// The whole program after Qt is up: `arguments` without the program name.
int RunProgram(const QStringList& arguments, const SettingsStore& store, Dialogs& dialogs,
               const Converter& convert, const PanelTeller& tell, QTextStream& out,
               QTextStream& errors);

}  // namespace zac
}  // namespace kiv
