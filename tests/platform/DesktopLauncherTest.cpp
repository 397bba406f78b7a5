// The desktop launcher against fake programs: small scripts in a folder that is the whole PATH,
// each writing its name and arguments to one log, so the test sees what was started and how.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/QtDesktopLauncher.h"

namespace kiv {
namespace {

using View = DesktopLauncher::VolumeView;

class DesktopLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override { qputenv("PATH", bin_.path().toLocal8Bit()); }
  void TearDown() override { qputenv("PATH", path_); }

  void Install(const char* program) {
    QFile script(bin_.filePath(QString::fromLatin1(program)));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n{ printf '%s|' \"${0##*/}\" \"$@\"; printf end; } >\"${0%/*}/log\"\n");
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  // "program|argument|...|end" once the program the launcher started has run.
  std::string Started() {
    QFile log(bin_.filePath(QStringLiteral("log")));
    QByteArray text;
    EXPECT_TRUE(QTest::qWaitFor([&] {
      if (log.open(QIODevice::ReadOnly)) text = log.readAll(), log.close();
      return text.endsWith("end");
    }));
    log.remove();
    return text.toStdString();
  }

  QByteArray path_ = qgetenv("PATH");
  QTemporaryDir bin_;
  QtDesktopLauncher launcher_;
};

TEST_F(DesktopLauncherTest, StartsTheFirstVolumeControlFoundOnTheAskedViewAndTheAddressHandler) {
  EXPECT_FALSE(launcher_.StartVolumeControl(View::Playback));
  EXPECT_FALSE(launcher_.OpenAddress(QStringLiteral("file:///opt/kiv/Help/index.html")));
  struct Case { const char* install; View view; const char* started; };
  // Each step installs a program that comes before the ones installed so far.
  const Case steps[] = {
      {"mate-volume-control", View::Recording, "mate-volume-control|--page|input|"},
      {"pavucontrol-qt", View::Playback, "pavucontrol-qt|--tab|1|"},
      {"pavucontrol", View::Recording, "pavucontrol|--tab|2|"},
      {"pavucontrol", View::Playback, "pavucontrol|--tab|1|"}};
  for (const Case& step : steps) {
    Install(step.install);
    EXPECT_TRUE(launcher_.StartVolumeControl(step.view));
    EXPECT_EQ(Started(), step.started + std::string("end"));
  }
  Install("xdg-open");
  EXPECT_TRUE(launcher_.OpenAddress(QStringLiteral("file:///opt/kiv rec/Help/index.html")));
  EXPECT_EQ(Started(), "xdg-open|file:///opt/kiv rec/Help/index.html|end");
}

}  // namespace
}  // namespace kiv
