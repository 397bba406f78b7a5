// The done channel as a Unix domain socket, watched on the event loop. It is written on the
// system's sockets rather than Qt Network: the panel listens from its start, and loading Qt
// Network into every recorder for it would cost more memory than the rest of the channel.
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
#include <map>
#include <memory>

#include "platform/ConversionDoneChannel.h"

class QSocketNotifier;
class QTimer;

namespace kiv {

class QtConversionDoneChannel final : public QObject, public ConversionDoneChannel {
  Q_OBJECT

 public:
  // Listens in `folder` (the runtime folder when empty).
  explicit QtConversionDoneChannel(QString folder = QString(), QObject* parent = nullptr);
  ~QtConversionDoneChannel() override;

  QString Listen() override;

  // How long a connection may take to send its message before it is dropped.
  static constexpr int kSenderTimeoutMs = 5000;

 private:
  struct Connection;
  void Accept();
  void Read(int socket);
  void Drop(int socket);

  QString folder_;
  QString name_;
  int listener_ = -1;
  QSocketNotifier* acceptNotifier_ = nullptr;
  std::map<int, std::unique_ptr<Connection>> connections_;
};

// The converter's side: sends (wPar, lPar) to the listener named `handle` and waits up to
// `timeoutMs` for it to confirm. False when no panel listens under that name (it has ended, or
// the handle is empty or not a channel name) or it did not confirm.
bool SendConversionDone(const QString& handle, qint32 wPar, qint32 lPar, int timeoutMs = 5000);

}  // namespace kiv
