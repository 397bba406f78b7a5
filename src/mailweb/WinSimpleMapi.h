// The mail hand-off on Windows: Simple MAPI from "mapi32", loaded when the binding is made. The
// system offers MAPI when HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows Messaging Subsystem has
// the value MAPI = "1"; without it, or without the library, the binding is unavailable. Built on
// Windows only.
#pragma once

#include "mailweb/SimpleMapi.h"

namespace kiv {

class WinSimpleMapi final : public SimpleMapi {
 public:
  WinSimpleMapi();
  ~WinSimpleMapi() override;

  bool MapiAvailable() const override { return library_ != nullptr; }
  int MapiLogon(const QString& profile, const QString& password, int flags,
                MapiSession* session) override;
  int MapiSendMail(MapiSession session, const MapiMessage& message, int flags) override;
  int MapiLogoff(MapiSession session) override;

 private:
  void* library_ = nullptr;  // HMODULE
  void* logon_ = nullptr;
  void* sendMail_ = nullptr;
  void* logoff_ = nullptr;
};

}  // namespace kiv
