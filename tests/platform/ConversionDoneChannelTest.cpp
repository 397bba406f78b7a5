// The local socket on which the external converter tells the panel a job is over. The sender
// blocks while it waits for the confirmation, so it runs on a thread of its own while the test
// keeps the listener's event loop turning.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <future>
#include <utility>
#include <vector>

#include "platform/QtConversionDoneChannel.h"

namespace kiv {
namespace {

// Runs `send` on another thread and turns the event loop until it returns.
template <typename Send>
auto WhileListening(Send send) {
  auto result = std::async(std::launch::async, std::move(send));
  while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  QCoreApplication::processEvents();
  return result.get();
}

// What a hostile or broken sender writes, then whether it hangs up.
void SendRaw(const QString& name, const QByteArray& bytes) {
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(2000)) return;
  socket.write(bytes);
  socket.waitForBytesWritten(2000);
  socket.waitForDisconnected(500);
}

TEST(ConversionDoneChannelTest, DeliversBothWordsOnceToTheListeningPanelAndIgnoresGarbage) {
  QTemporaryDir runtime;
  QtConversionDoneChannel channel(runtime.path());
  std::vector<std::pair<qint32, qint32>> received;
  channel.onDone = [&](qint32 w, qint32 l) { received.emplace_back(w, l); };

  const QString name = channel.Listen();
  ASSERT_FALSE(name.isEmpty());
  EXPECT_EQ(QFileInfo(name).absolutePath(), QFileInfo(runtime.path()).absoluteFilePath());
  EXPECT_TRUE(name.contains(QString::number(QCoreApplication::applicationPid())));
  EXPECT_EQ(channel.Listen(), name) << "listening twice keeps the published name";
  EXPECT_TRUE(QtConversionDoneChannel().Listen().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));

  EXPECT_TRUE(WhileListening([&] { return SendConversionDone(name, 0x000E000D, 0x000BF79B); }));
  // Garbage: wrong magic, a short message, a flood, a negative word pair must travel intact.
  QByteArray flood(1 << 20, 'K');
  for (const QByteArray& bytes : {QByteArray("KDoX\x01\0\0\0\x01\0\0\0", 12),
                                  QByteArray("KDon\x01\0\0", 7), flood}) {
    WhileListening([&] { SendRaw(name, bytes); });
  }
  EXPECT_TRUE(WhileListening([&] { return SendConversionDone(name, 1, -2); }));
  EXPECT_EQ(received, (std::vector<std::pair<qint32, qint32>>{{0x000E000D, 0x000BF79B}, {1, -2}}));
}

TEST(ConversionDoneChannelTest, ASocketLeftByACrashedPanelDoesNotBlockANewOneAndDeadNamesFail) {
  QTemporaryDir runtime;
  QString name;
  {
    QtConversionDoneChannel first(runtime.path());
    name = first.Listen();
  }
  // A crash leaves the socket file behind; a plain file stands in for it.
  QFile stale(name);
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.close();
  QtConversionDoneChannel second(runtime.path());
  int calls = 0;
  second.onDone = [&](qint32, qint32) { ++calls; };
  ASSERT_EQ(second.Listen(), name);
  EXPECT_TRUE(WhileListening([&] { return SendConversionDone(name, 1, 1); }));
  EXPECT_EQ(calls, 1);

  for (const QString& dead : {QString(), runtime.filePath(QStringLiteral("nobody")),
                              QStringLiteral("4711")}) {
    EXPECT_FALSE(SendConversionDone(dead, 1, 1, 500)) << dead.toStdString();
  }
}

}  // namespace
}  // namespace kiv
