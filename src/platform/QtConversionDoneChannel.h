// The done channel as a local socket (a Unix domain socket; a named pipe on Windows).
//
// The panel's side listens on a name of its own: the socket "KivRecDone-<pid>" in the user's
// runtime folder ($XDG_RUNTIME_DIR, the temporary folder without one), so two users, or two
// panels, never share one; it is short because a socket's whole path must fit in about 100
// bytes. Only the user may connect. A socket file left behind by a panel that crashed is removed
// before listening, which is safe because no live process has our process id.
//
// One message is twelve bytes: "KDon", then wPar and lPar as 32-bit little-endian integers. The
// listener reads at most that much from a connection, answers one byte when the message was
// whole and well-formed, and closes it; anything else (wrong bytes, a short message, a sender
// that never finishes) is dropped without a call to onDone, and the channel keeps listening.
#pragma once

#include <QObject>
#include <QString>

#include "platform/ConversionDoneChannel.h"

class QLocalServer;
class QLocalSocket;

namespace kiv {

class QtConversionDoneChannel final : public QObject, public ConversionDoneChannel {
  Q_OBJECT

 public:
  // Listens in `folder` (the runtime folder when empty). On Windows the folder is not used: pipe
  // names are not paths there.
  explicit QtConversionDoneChannel(QString folder = QString(), QObject* parent = nullptr);
  ~QtConversionDoneChannel() override;

  QString Listen() override;

  // How long a connection may take to send its message before it is dropped.
  static constexpr int kSenderTimeoutMs = 5000;

 private:
  void Accept();
  void Read(QLocalSocket* socket);

  QString folder_;
  QLocalServer* server_;
};

// The converter's side: sends (wPar, lPar) to the listener named `handle` and waits up to
// `timeoutMs` for it to confirm. False when no panel listens under that name (it has ended, or
// the handle is empty or not a channel name) or it did not confirm.
bool SendConversionDone(const QString& handle, qint32 wPar, qint32 lPar, int timeoutMs = 5000);

}  // namespace kiv
