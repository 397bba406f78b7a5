// The mail hand-off on a Linux desktop: the desktop's mail composer, reached through xdg-email.
// A hand-off is offered when a handler for mailto addresses is registered (mimeapps.list) and
// xdg-email is installed; both are looked up when the binding is made, in the environment's
// XDG folders and PATH. A logon holds while the mailto handler stays registered; a sent mail is
// the composer opened with the subject, the body and any recipients filled in, where the user
// finishes it.
#pragma once

#include "mailweb/SimpleMapi.h"

namespace kiv {

class XdgEmailMapi final : public SimpleMapi {
 public:
  XdgEmailMapi();

  bool MapiAvailable() const override { return available_; }
  int MapiLogon(const QString& profile, const QString& password, int flags,
                MapiSession* session) override;
  int MapiSendMail(MapiSession session, const MapiMessage& message, int flags) override;
  int MapiLogoff(MapiSession session) override;

 private:
  bool available_ = false;
  MapiSession lastSession_ = 0;
};

}  // namespace kiv
