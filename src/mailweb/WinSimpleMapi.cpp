#include <qt_windows.h>
#include <mapi.h>

#include "mailweb/WinSimpleMapi.h"

#include <QSettings>
#include <stdexcept>
#include <vector>

namespace kiv {
namespace {

bool MapiOffered() {
  const QSettings subsystem(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows Messaging Subsystem"),
                            QSettings::NativeFormat);
  return subsystem.value(QStringLiteral("MAPI")).toString() == QStringLiteral("1");
}

// Simple MAPI takes ANSI texts; they live as long as the call.
class AnsiTexts {
 public:
  LPSTR Keep(const QString& text) {
    texts_.push_back(text.toLocal8Bit());
    return texts_.back().data();
  }
  LPSTR KeepOrNull(const QString& text) { return text.isEmpty() ? nullptr : Keep(text); }

 private:
  std::vector<QByteArray> texts_;
};

}  // namespace

WinSimpleMapi::WinSimpleMapi() {
  if (!MapiOffered()) return;
  // A missing library must not put up the system's own error box.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE library = LoadLibraryW(L"mapi32");
  if (library == nullptr) library = LoadLibraryW(L"mapi32.dll");
  SetErrorMode(oldMode);
  if (library == nullptr) return;
  logon_ = reinterpret_cast<void*>(GetProcAddress(library, "MAPILogon"));
  sendMail_ = reinterpret_cast<void*>(GetProcAddress(library, "MAPISendMail"));
  logoff_ = reinterpret_cast<void*>(GetProcAddress(library, "MAPILogoff"));
  if (logon_ == nullptr || sendMail_ == nullptr || logoff_ == nullptr) {
    FreeLibrary(library);
    throw std::runtime_error("GetProcAddress for MAPI.DLL function(s) failed");
  }
  library_ = library;
}

WinSimpleMapi::~WinSimpleMapi() {
  if (library_ != nullptr) FreeLibrary(static_cast<HMODULE>(library_));
}

int WinSimpleMapi::MapiLogon(const QString& profile, const QString& password, int flags,
                             MapiSession* session) {
  AnsiTexts texts;
  LHANDLE handle = 0;
  const ULONG code = reinterpret_cast<LPMAPILOGON>(logon_)(
      0, texts.KeepOrNull(profile), texts.KeepOrNull(password), FLAGS(flags), 0, &handle);
  if (code == SUCCESS_SUCCESS) *session = MapiSession(handle);
  return int(code);
}

int WinSimpleMapi::MapiSendMail(MapiSession session, const MapiMessage& message, int flags) {
  AnsiTexts texts;
  std::vector<MapiRecipDesc> recipients;
  const std::pair<const QStringList*, ULONG> classes[] = {
      {&message.to, MAPI_TO}, {&message.cc, MAPI_CC}, {&message.bcc, MAPI_BCC}};
  for (const auto& [list, recipientClass] : classes) {
    for (const QString& address : *list) {
      MapiRecipDesc recipient{};
      recipient.ulRecipClass = recipientClass;
      recipient.lpszName = texts.Keep(address);
      recipients.push_back(recipient);
    }
  }
  std::vector<MapiFileDesc> files;
  for (const QString& path : message.attachments) {
    MapiFileDesc file{};
    file.nPosition = ULONG(-1);
    file.lpszPathName = texts.Keep(path);
    files.push_back(file);
  }
  ::MapiMessage mail{};
  mail.lpszSubject = texts.Keep(message.subject);
  mail.lpszNoteText = texts.Keep(message.noteText);
  mail.flFlags = message.receiptRequested ? MAPI_RECEIPT_REQUESTED : 0;
  mail.nRecipCount = ULONG(recipients.size());
  mail.lpRecips = recipients.empty() ? nullptr : recipients.data();
  mail.nFileCount = ULONG(files.size());
  mail.lpFiles = files.empty() ? nullptr : files.data();
  const HWND window = GetActiveWindow();
  return int(reinterpret_cast<LPMAPISENDMAIL>(sendMail_)(LHANDLE(session), ULONG_PTR(window), &mail,
                                                         FLAGS(flags), 0));
}

int WinSimpleMapi::MapiLogoff(MapiSession session) {
  return int(reinterpret_cast<LPMAPILOGOFF>(logoff_)(LHANDLE(session), 0, 0, 0));
}

}  // namespace kiv
