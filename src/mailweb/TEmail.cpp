#include "mailweb/TEmail.h"

namespace kiv {
namespace {

// More recipients or attachments than the hand-off's counters can hold.
constexpr qsizetype kMostItems = 89478485;

}  // namespace

void TEmail::Clear() {
  Acknowledge = false;
  Recipient.clear();
  CC.clear();
  Bcc.clear();
  Attachment.clear();
  Subject.clear();
}

void TEmail::CheckMapi() const {
  if (!mapi_.MapiAvailable()) throw EMapiUnavailable();
}

int TEmail::LogonFlags() const {
  return (NewSession ? MAPI_NEW_SESSION : 0) + (DownLoadFirst ? MAPI_FORCE_DOWNLOAD : 0);
}

void TEmail::MapiError(int code) const {
  if (OnMapiError) OnMapiError(code);
}

int TEmail::Logon() {
  CheckMapi();
  if (session_ != 0) return SUCCESS_SUCCESS;
  int code = mapi_.MapiLogon(Profile, Password, LogonFlags(), &session_);
  // Once more without a profile, letting the mail program ask the user itself.
  if (code != SUCCESS_SUCCESS) code = mapi_.MapiLogon({}, {}, LogonFlags() + MAPI_LOGON_UI, &session_);
  if (code != SUCCESS_SUCCESS) {
    session_ = 0;
    MapiError(code);
  }
  return code;
}

int TEmail::Logoff() {
  if (session_ == 0) return SUCCESS_SUCCESS;
  const int code = mapi_.MapiLogoff(session_);
  session_ = 0;
  return code;
}

int TEmail::SendMailEx(bool) {
  CheckMapi();
  if (Recipient.size() + CC.size() + Bcc.size() > kMostItems) {
    MapiError(MAPI_E_TOO_MANY_RECIPIENTS);
    return MAPI_E_TOO_MANY_RECIPIENTS;
  }
  if (Attachment.size() > kMostItems) {
    MapiError(MAPI_E_TOO_MANY_FILES);
    return MAPI_E_TOO_MANY_FILES;
  }
  const bool ownLogon = session_ == 0;
  if (Logon() != SUCCESS_SUCCESS) {
    MapiError(MAPI_E_LOGIN_FAILURE);
    return MAPI_E_LOGIN_FAILURE;
  }
  const MapiMessage message{Subject, Text, Recipient, CC, Bcc, Attachment, Acknowledge};
  const bool anyRecipient = !(Recipient.isEmpty() && CC.isEmpty() && Bcc.isEmpty());
  const int flags = (!anyRecipient || ShowDialog) ? MAPI_DIALOG : 0;
  const int code = mapi_.MapiSendMail(session_, message, flags);
  if (code != SUCCESS_SUCCESS) MapiError(code);
  if (ownLogon) Logoff();
  return code;
}

}  // namespace kiv
