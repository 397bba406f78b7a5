// The real program, twice: the second start must end at once with code 0 and leave the first
// running. Both run offscreen in a throw-away home.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QProcessEnvironment ThrowAwayHome(const QString& root) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"home", "config", "data", "tmp", "runtime"}) {
    QDir().mkpath(root + u'/' + QLatin1String(name));
  }
  QFile::setPermissions(root + QStringLiteral("/runtime"), QFileDevice::ReadOwner |
                                                                QFileDevice::WriteOwner |
                                                                QFileDevice::ExeOwner);
  env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
  env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
  env.insert(QStringLiteral("TMPDIR"), root + QStringLiteral("/tmp"));
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/runtime"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  return env;
}

TEST(SingleInstanceProcess, ASecondStartEndsAtOnceWithCodeZeroAndLeavesTheFirstRunning) {
  QTemporaryDir root(QDir::tempPath() + QStringLiteral("/instance-XXXXXX"));
  ASSERT_TRUE(root.isValid());
  const QString program = QStringLiteral(KIVREC_BIN_DIR "/KivRec");
  const QString cassette =
      root.path() + QStringLiteral("/data/Zorvikware/Kiv Sound Recorder/kivrec.cst");

  QProcess first;
  first.setProcessEnvironment(ThrowAwayHome(root.path()));
  first.start(program, {});
  ASSERT_TRUE(first.waitForStarted(10000));
  // The first copy is up once it has made its cassette.
  QElapsedTimer waited;
  waited.start();
  while (!QFile::exists(cassette) && waited.elapsed() < 30000) QThread::msleep(50);
  ASSERT_TRUE(QFile::exists(cassette)) << first.readAllStandardError().toStdString();

  QProcess second;
  second.setProcessEnvironment(ThrowAwayHome(root.path()));
  second.start(program, {QStringLiteral("ignored-argument.cst")});
  ASSERT_TRUE(second.waitForFinished(30000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);

  first.kill();
  first.waitForFinished(10000);
}

}  // namespace
