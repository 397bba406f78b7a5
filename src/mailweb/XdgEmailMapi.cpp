#include "mailweb/XdgEmailMapi.h"

#include <QStandardPaths>

#include "mailweb/TAppExec.h"
#include "mailweb/XdgMime.h"

namespace kiv {
namespace {

const QString kMailto = QStringLiteral("x-scheme-handler/mailto");

}  // namespace

XdgEmailMapi::XdgEmailMapi()
    : available_(!xdg::DefaultApplication(kMailto).isEmpty() &&
                 !QStandardPaths::findExecutable(QStringLiteral("xdg-email")).isEmpty()) {}

int XdgEmailMapi::MapiLogon(const QString&, const QString&, int, MapiSession* session) {
  // There is no account to log on to: the composer is there or it is not.
  if (xdg::DefaultApplication(kMailto).isEmpty()) return MAPI_E_LOGIN_FAILURE;
  *session = ++lastSession_;
  return SUCCESS_SUCCESS;
}

int XdgEmailMapi::MapiSendMail(MapiSession session, const MapiMessage& message, int) {
  if (session == 0) return MAPI_E_LOGIN_FAILURE;
  TAppExec exec;
  exec.ChangeDir = false;
  exec.ExeName = QStringLiteral("xdg-email");
  QStringList& params = exec.ExeParams;
  params << QStringLiteral("--utf8");
  for (const QString& cc : message.cc) params << QStringLiteral("--cc") << cc;
  for (const QString& bcc : message.bcc) params << QStringLiteral("--bcc") << bcc;
  for (const QString& file : message.attachments) params << QStringLiteral("--attach") << file;
  // The composer takes plain line feeds.
  QString body = message.noteText;
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  params << QStringLiteral("--subject") << message.subject << QStringLiteral("--body") << body;
  params << message.to;
  try {
    exec.Execute();
  } catch (const EAppExec&) {
    return MAPI_E_FAILURE;
  }
  return SUCCESS_SUCCESS;
}

int XdgEmailMapi::MapiLogoff(MapiSession) { return SUCCESS_SUCCESS; }

}  // namespace kiv
