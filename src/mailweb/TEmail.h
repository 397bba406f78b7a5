// A mail to be handed to the user's mail program: its recipients, subject and text, and the
// logon it goes out under. The panel owns one (Email1) over the program's one mail binding. A
// logon made by Logon() stays until Logoff() or the end of this object; SendMail() logs off only
// a logon it had to make itself.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>

#include "mailweb/SimpleMapi.h"

namespace kiv {

class EMapiUnavailable final : public std::runtime_error {
 public:
  EMapiUnavailable() : std::runtime_error("MAPI services are not available on this system") {}
};

class TEmail {
 public:
  explicit TEmail(SimpleMapi& mapi) : mapi_(mapi) {}
  ~TEmail() { Logoff(); }
  TEmail(const TEmail&) = delete;
  TEmail& operator=(const TEmail&) = delete;

  // Everything but Text goes: no receipt, no recipients, no attachments, no subject.
  void Clear();
  // Throws EMapiUnavailable when the system offers no mail hand-off.
  void CheckMapi() const;
  // 0, or the binding's error code; throws EMapiUnavailable. Reuses a logon already held.
  int Logon();
  // Hands the mail over; with no recipient the mail program always shows its compose window.
  // 0, or the error code (also raised through OnMapiError); throws EMapiUnavailable.
  int SendMail() { return SendMailEx(false); }
  int Logoff();
  bool MapiAvail() const { return mapi_.MapiAvailable(); }
  bool LoggedOn() const { return session_ != 0; }

  bool Acknowledge = false;
  QStringList Recipient, CC, Bcc, Attachment;
  bool DownLoadFirst = false;
  bool NewSession = false;
  bool ShowDialog = false;
  QString Profile, Password;
  QString Subject, Text;
  std::function<void(int code)> OnMapiError;

 private:
  int SendMailEx(bool save);
  int LogonFlags() const;
  void MapiError(int code) const;

  SimpleMapi& mapi_;
  MapiSession session_ = 0;
};

}  // namespace kiv
