#include "platform/QtConversionDoneChannel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <QtEndian>
#include <array>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

#include "platform/QtSingleInstance.h"

namespace kiv {
namespace {

constexpr std::array<char, 4> kMagic{'K', 'D', 'o', 'n'};
constexpr size_t kMessageSize = 12;
constexpr char kConfirmation = '!';

std::array<char, kMessageSize> Encode(qint32 wPar, qint32 lPar) {
  std::array<char, kMessageSize> message{};
  std::memcpy(message.data(), kMagic.data(), kMagic.size());
  qToLittleEndian<qint32>(wPar, message.data() + 4);
  qToLittleEndian<qint32>(lPar, message.data() + 8);
  return message;
}

bool Decode(const char* message, qint32& wPar, qint32& lPar) {
  if (std::memcmp(message, kMagic.data(), kMagic.size()) != 0) return false;
  wPar = qFromLittleEndian<qint32>(message + 4);
  lPar = qFromLittleEndian<qint32>(message + 8);
  return true;
}

QString ChannelName(const QString& folder) {
  const QString name = QStringLiteral("KivRecDone-%1").arg(QCoreApplication::applicationPid());
  return QDir(folder.isEmpty() ? QtSingleInstance::DefaultFolder() : folder).filePath(name);
}

// The socket address of `path`; false when the path does not fit one.
bool AddressOf(const QString& path, sockaddr_un& address) {
  const QByteArray local = QFile::encodeName(path);
  address = sockaddr_un{};
  address.sun_family = AF_UNIX;
  if (local.isEmpty() || size_t(local.size()) >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, local.constData(), size_t(local.size()));
  return true;
}

// Waits up to `timeoutMs` for `events` on `fd`.
bool Ready(int fd, short events, int timeoutMs) {
  pollfd watched{fd, events, 0};
  int result = 0;
  do {
    result = ::poll(&watched, 1, timeoutMs);
  } while (result < 0 && errno == EINTR);
  return result == 1 && (watched.revents & events) != 0;
}

}  // namespace

struct QtConversionDoneChannel::Connection {
  std::array<char, kMessageSize> bytes{};
  size_t received = 0;
  std::unique_ptr<QSocketNotifier> notifier;
  std::unique_ptr<QTimer> deadline;
};

QtConversionDoneChannel::QtConversionDoneChannel(QString folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)) {}

QtConversionDoneChannel::~QtConversionDoneChannel() {
  for (auto& [socket, connection] : connections_) ::close(socket);
  if (listener_ >= 0) {
    ::close(listener_);
    ::unlink(QFile::encodeName(name_).constData());
  }
}

QString QtConversionDoneChannel::Listen() {
  if (listener_ >= 0) return name_;
  const QString name = ChannelName(folder_);
  sockaddr_un address;
  if (!AddressOf(name, address)) return QString();
  QDir().mkpath(QFileInfo(name).absolutePath());
  // Our process id is in the name, so a socket already there is a dead panel's.
  ::unlink(address.sun_path);
  const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listener < 0) return QString();
  // Only the user may connect: the socket is made without rights for anyone else.
  const mode_t previous = ::umask(077);
  const bool bound = ::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::umask(previous);
  if (!bound || ::listen(listener, 8) != 0) {
    ::close(listener);
    return QString();
  }
  listener_ = listener;
  name_ = name;
  acceptNotifier_ = new QSocketNotifier(qintptr(listener_), QSocketNotifier::Read, this);
  connect(acceptNotifier_, &QSocketNotifier::activated, this, [this] { Accept(); });
  return name_;
}

void QtConversionDoneChannel::Accept() {
  int socket = -1;
  while ((socket = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0) {
    auto connection = std::make_unique<Connection>();
    connection->notifier = std::make_unique<QSocketNotifier>(qintptr(socket), QSocketNotifier::Read);
    connect(connection->notifier.get(), &QSocketNotifier::activated, this, [this, socket] { Read(socket); });
    // A sender that never finishes its message is cut off.
    connection->deadline = std::make_unique<QTimer>();
    connection->deadline->setSingleShot(true);
    connect(connection->deadline.get(), &QTimer::timeout, this, [this, socket] { Drop(socket); });
    connection->deadline->start(kSenderTimeoutMs);
    connections_[socket] = std::move(connection);
  }
}

void QtConversionDoneChannel::Read(int socket) {
  Connection& connection = *connections_.at(socket);
  // Never more in memory than one message, whatever the sender pours in.
  const ssize_t got = ::recv(socket, connection.bytes.data() + connection.received,
                             kMessageSize - connection.received, 0);
  if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
  if (got <= 0) {
    Drop(socket);
    return;
  }
  connection.received += size_t(got);
  if (connection.received < kMessageSize) return;
  qint32 wPar = 0;
  qint32 lPar = 0;
  const bool valid = Decode(connection.bytes.data(), wPar, lPar);
  if (valid) (void)::send(socket, &kConfirmation, 1, MSG_NOSIGNAL);
  Drop(socket);
  // Called last: the receiver may end the panel's job and, with it, this channel.
  if (valid && onDone) onDone(wPar, lPar);
}

void QtConversionDoneChannel::Drop(int socket) {
  auto found = connections_.find(socket);
  if (found == connections_.end()) return;
  // The notifier and the timer go before the descriptor they watch is closed. This may run from
  // the notifier's own signal: it is disabled now and deleted once control is back in the loop.
  found->second->notifier->setEnabled(false);
  found->second->notifier.release()->deleteLater();
  found->second->deadline.release()->deleteLater();
  connections_.erase(found);
  ::close(socket);
}

bool SendConversionDone(const QString& handle, qint32 wPar, qint32 lPar, int timeoutMs) {
  sockaddr_un address;
  if (!AddressOf(handle, address)) return false;
  const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket < 0) return false;
  const std::array<char, kMessageSize> message = Encode(wPar, lPar);
  char answer = 0;
  const bool confirmed =
      ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
      ::send(socket, message.data(), message.size(), MSG_NOSIGNAL) == ssize_t(message.size()) &&
      Ready(socket, POLLIN, timeoutMs) && ::recv(socket, &answer, 1, 0) == 1 &&
      answer == kConfirmation;
  ::close(socket);
  return confirmed;
}

}  // namespace kiv
