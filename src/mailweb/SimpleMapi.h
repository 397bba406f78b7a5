// The hand-off of a mail to the user's mail program: log on to it, give it a message (it shows
// its own compose window when asked to), log off. Results are the Simple MAPI codes, so TEmail
// reads the same whichever mail system is below. The program creates one binding at start and
// keeps it for its whole run; TEmail uses it.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace kiv {

// Flags and results, with the values of the Simple MAPI standard; where mapi.h already defined
// them (Windows), its macros stand in.
#ifndef MAPI_LOGON_UI
inline constexpr int MAPI_LOGON_UI = 1;
#endif
#ifndef MAPI_NEW_SESSION
inline constexpr int MAPI_NEW_SESSION = 2;
#endif
#ifndef MAPI_DIALOG
inline constexpr int MAPI_DIALOG = 8;
#endif
#ifndef MAPI_FORCE_DOWNLOAD
inline constexpr int MAPI_FORCE_DOWNLOAD = 0x1000;
#endif
#ifndef SUCCESS_SUCCESS
inline constexpr int SUCCESS_SUCCESS = 0;
#endif
#ifndef MAPI_E_FAILURE
inline constexpr int MAPI_E_FAILURE = 2;
#endif
#ifndef MAPI_E_LOGIN_FAILURE
inline constexpr int MAPI_E_LOGIN_FAILURE = 3;
#endif
#ifndef MAPI_E_TOO_MANY_FILES
inline constexpr int MAPI_E_TOO_MANY_FILES = 9;
#endif
#ifndef MAPI_E_TOO_MANY_RECIPIENTS
inline constexpr int MAPI_E_TOO_MANY_RECIPIENTS = 10;
#endif

using MapiSession = std::uintptr_t;  // 0: no session

struct MapiMessage {
  QString subject;
  QString noteText;  // lines end in "\r\n"
  QStringList to, cc, bcc;
  QStringList attachments;  // file paths
  bool receiptRequested = false;
};

class SimpleMapi {
 public:
  virtual ~SimpleMapi() = default;
  // Whether the system offers a mail hand-off at all; decided once, when the binding is made.
  virtual bool MapiAvailable() const = 0;
  virtual int MapiLogon(const QString& profile, const QString& password, int flags,
                        MapiSession* session) = 0;
  virtual int MapiSendMail(MapiSession session, const MapiMessage& message, int flags) = 0;
  virtual int MapiLogoff(MapiSession session) = 0;

 protected:
  SimpleMapi() = default;
  SimpleMapi(const SimpleMapi&) = delete;
  SimpleMapi& operator=(const SimpleMapi&) = delete;
};

}  // namespace kiv
