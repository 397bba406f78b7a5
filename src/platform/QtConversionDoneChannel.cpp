#include "platform/QtConversionDoneChannel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>
#include <array>
#include <cstring>
#include <utility>

#include "platform/QtSingleInstance.h"

namespace kiv {
namespace {

constexpr std::array<char, 4> kMagic{'K', 'D', 'o', 'n'};
constexpr qint64 kMessageSize = 12;
constexpr char kConfirmation = '!';

QByteArray Encode(qint32 wPar, qint32 lPar) {
  QByteArray message(kMessageSize, '\0');
  std::memcpy(message.data(), kMagic.data(), kMagic.size());
  qToLittleEndian<qint32>(wPar, message.data() + 4);
  qToLittleEndian<qint32>(lPar, message.data() + 8);
  return message;
}

bool Decode(const QByteArray& message, qint32& wPar, qint32& lPar) {
  if (message.size() != kMessageSize ||
      std::memcmp(message.constData(), kMagic.data(), kMagic.size()) != 0) {
    return false;
  }
  wPar = qFromLittleEndian<qint32>(message.constData() + 4);
  lPar = qFromLittleEndian<qint32>(message.constData() + 8);
  return true;
}

QString ChannelName(const QString& folder) {
  const QString name = QStringLiteral("KivRecDone-%1").arg(QCoreApplication::applicationPid());
#ifdef Q_OS_WIN
  // Pipe names are global on Windows: the user's name keeps two sessions apart.
  Q_UNUSED(folder);
  return name + u'-' + qEnvironmentVariable("USERNAME");
#else
  return QDir(folder.isEmpty() ? QtSingleInstance::DefaultFolder() : folder).filePath(name);
#endif
}

}  // namespace

QtConversionDoneChannel::QtConversionDoneChannel(QString folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)), server_(new QLocalServer(this)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &QtConversionDoneChannel::Accept);
}

QtConversionDoneChannel::~QtConversionDoneChannel() = default;

QString QtConversionDoneChannel::Listen() {
  if (server_->isListening()) return server_->fullServerName();
  const QString name = ChannelName(folder_);
#ifndef Q_OS_WIN
  QDir().mkpath(QFileInfo(name).absolutePath());
#endif
  // Our process id is in the name, so a socket already there is a dead panel's.
  QLocalServer::removeServer(name);
  return server_->listen(name) ? server_->fullServerName() : QString();
}

void QtConversionDoneChannel::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    // Never more in memory than one message, whatever the sender pours in.
    socket->setReadBufferSize(kMessageSize);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(kSenderTimeoutMs, socket, [socket] { socket->abort(); });
    // The message may have arrived with the connection.
    Read(socket);
  }
}

void QtConversionDoneChannel::Read(QLocalSocket* socket) {
  if (socket->bytesAvailable() < kMessageSize) return;
  const QByteArray message = socket->read(kMessageSize);
  qint32 wPar = 0;
  qint32 lPar = 0;
  const bool valid = Decode(message, wPar, lPar);
  if (valid) {
    socket->write(&kConfirmation, 1);
    socket->flush();
  }
  socket->disconnectFromServer();
  // Called last: the receiver may end the panel's job and, with it, this channel.
  if (valid && onDone) onDone(wPar, lPar);
}

bool SendConversionDone(const QString& handle, qint32 wPar, qint32 lPar, int timeoutMs) {
  if (handle.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(handle);
  if (!socket.waitForConnected(timeoutMs)) return false;
  const QByteArray message = Encode(wPar, lPar);
  if (socket.write(message) != message.size()) return false;
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
  }
  char answer = 0;
  if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(timeoutMs)) return false;
  return socket.read(&answer, 1) == 1 && answer == kConfirmation;
}

}  // namespace kiv
