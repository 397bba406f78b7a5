// The local socket on which the external converter tells the panel a job is over. A sender
// blocks until the panel confirms, so senders run on a thread of their own while the test turns
// the listener's event loop.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <future>

#include "platform/QtConversionDoneChannel.h"

namespace kiv {
namespace {

template <typename Send>
auto WhileListening(Send send) {
  auto result = std::async(std::launch::async, send);
  while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
    QCoreApplication::processEvents();
  }
  return result.get();
}

TEST(ConversionDoneChannelTest, DeliversBothWordsIgnoresGarbageAndOutlivesACrashedPanel) {
  QTemporaryDir runtime;
  const QString name = QtConversionDoneChannel(runtime.path()).Listen();
  EXPECT_TRUE(name.startsWith(runtime.path() + u'/'));
  const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  EXPECT_TRUE(QtConversionDoneChannel().Listen().startsWith(runtimeDir + u'/'));
  QFile stale(name);  // what a crashed panel of the same process id would have left
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.close();

  QtConversionDoneChannel panel(runtime.path());
  std::vector<std::pair<qint32, qint32>> words;
  panel.onDone = [&](qint32 w, qint32 l) { words.emplace_back(w, l); };
  ASSERT_EQ(panel.Listen(), name);
  EXPECT_TRUE(WhileListening([&] { return SendConversionDone(name, 0x000E000D, 0x000BF79B); }));
  // A wrong magic, a short message, a flood: none is a message, and the panel keeps listening.
  for (const QByteArray& bytes : {QByteArray("KDoX\x01\0\0\0\x01\0\0\0", 12),
                                  QByteArray("KDon\x01\0\0", 7), QByteArray(1 << 20, 'K')}) {
    EXPECT_FALSE(WhileListening([&] {
      QLocalSocket sender;
      sender.connectToServer(name);
      return !sender.waitForConnected(2000) || sender.write(bytes) < 0 ||
             sender.waitForReadyRead(500);  // connected, written, and not confirmed
    }));
  }
  EXPECT_TRUE(WhileListening([&] { return SendConversionDone(name, 1, -2); }));
  EXPECT_EQ(words, (std::vector<std::pair<qint32, qint32>>{{0x000E000D, 0x000BF79B}, {1, -2}}));

  for (const QString& dead :
       {QString(), runtime.filePath(QStringLiteral("x")), QStringLiteral("4711")}) {
    EXPECT_FALSE(SendConversionDone(dead, 1, 1, 500)) << dead.toStdString();
  }
}

}  // namespace
}  // namespace kiv
