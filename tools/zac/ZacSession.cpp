#include "ZacSession.h"

#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"

namespace kiv::zac {
namespace {

// The converter's words for a job that worked; anything else is a failure to this program (the
// panel judges them by its own rules).
constexpr qint32 kSuccessW = 0x000E000D;
constexpr qint32 kSuccessL = 0x000BF79B;

}  // namespace

QString Usage() {
  return QStringLiteral(
      "Usage: ZAC export|import\n"
      "       ZAC --help|--version\n"
      "Runs the conversion job that Kiv Sound Recorder has written into its settings and tells\n"
      "the running recorder when it is over.\n"
      "  export   one message of the cassette to a WAV file\n"
      "  import   a WAV or MP3 file onto the cassette, as a new last message\n");
}

QString BoxCaption() { return ApplicationTitle() + QStringLiteral(" - ZAC"); }

Session::Session(Dialogs& dialogs, QString handle, PanelTeller tell, QTextStream& errors)
    : dialogs_(dialogs), handle_(std::move(handle)), tell_(std::move(tell)), errors_(errors) {}

void Session::Text(const QString& text) {
  QString line = text;
  line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  errors_ << "ZAC: " << line << Qt::endl;
  dialogs_.MessageBox(text, BoxCaption(), MB_OK);
}

void Session::Done(qint32 wPar, qint32 lPar) {
  if (words_) return;
  words_.emplace(wPar, lPar);
  panelTold_ = tell_(handle_, wPar, lPar);
}

int RunProgram(const QStringList& arguments, const SettingsStore& store, Dialogs& dialogs,
               const Converter& convert, const PanelTeller& tell, QTextStream& out,
               QTextStream& errors) {
  if (arguments == QStringList{QStringLiteral("--help")}) {
    out << Usage();
    return kSucceeded;
  }
  const std::optional<Mode> mode = ParseMode(arguments);
  if (!mode) {
    errors << Usage();
    return kUsage;
  }

  const QString handle = store.Stored(settings::WindowHandle);
  Session session(dialogs, handle, tell, errors);
  convert(ReadJob(store, *mode), session);
  // The panel stays busy until it hears the job is over, so it hears it whatever happened.
  if (!session.DoneWords()) session.Done(1, 1);

  if (!session.PanelTold()) {
    errors << "ZAC: no recorder is waiting for this job (DDHandle \"" << handle << "\")"
           << Qt::endl;
    return kPanelNotTold;
  }
  return session.DoneWords() == std::pair(kSuccessW, kSuccessL) ? kSucceeded : kJobFailed;
}

}  // namespace kiv::zac
