// The desktop launcher against fake programs: small scripts in a folder that is the whole PATH,
// each writing its name and arguments to a log, so a test sees what was started and how.
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
  void SetUp() override {
    ASSERT_TRUE(bin_.isValid());
    qputenv("PATH", bin_.path().toLocal8Bit());
  }
  void TearDown() override { qputenv("PATH", path_); }

  void Install(const char* program) {
    QFile script(bin_.filePath(QString::fromLatin1(program)));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n{ printf '%s|' \"${0##*/}\" \"$@\"; printf 'end'; } > \"$0.log\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
  }
  // "program|argument|...|end" once the program started by the launcher has run.
  std::string Started(const char* program) {
    QFile log(bin_.filePath(QString::fromLatin1(program) + QStringLiteral(".log")));
    QByteArray text;
    EXPECT_TRUE(QTest::qWaitFor([&] {
      if (log.open(QIODevice::ReadOnly)) text = log.readAll(), log.close();
      return text.endsWith("end");
    })) << program << " was not started";
    log.remove();
    return text.toStdString();
  }

  QByteArray path_ = qgetenv("PATH");
  QTemporaryDir bin_;
  QtDesktopLauncher launcher_;
};

TEST_F(DesktopLauncherTest, OpensAnAddressWithTheDefaultHandlerWhenThereIsOne) {
  EXPECT_FALSE(launcher_.OpenAddress(QStringLiteral("file:///opt/kiv/Help/index.html")));
  Install("xdg-open");
  EXPECT_TRUE(launcher_.OpenAddress(QStringLiteral("file:///opt/kiv rec/Help/index.html")));
  EXPECT_EQ(Started("xdg-open"), "xdg-open|file:///opt/kiv rec/Help/index.html|end");
}

TEST_F(DesktopLauncherTest, VolumeControlIsTheFirstInstalledCandidateOnTheAskedView) {
  EXPECT_FALSE(launcher_.StartVolumeControl(View::Playback));
  EXPECT_FALSE(launcher_.StartVolumeControl(View::Recording));
  Install("mate-volume-control");
  EXPECT_TRUE(launcher_.StartVolumeControl(View::Recording));
  EXPECT_EQ(Started("mate-volume-control"), "mate-volume-control|--page|input|end");
  EXPECT_TRUE(launcher_.StartVolumeControl(View::Playback));
  EXPECT_EQ(Started("mate-volume-control"), "mate-volume-control|--page|output|end");
  Install("pavucontrol-qt");
  EXPECT_TRUE(launcher_.StartVolumeControl(View::Recording));
  EXPECT_EQ(Started("pavucontrol-qt"), "pavucontrol-qt|--tab|2|end");
  Install("pavucontrol");
  EXPECT_TRUE(launcher_.StartVolumeControl(View::Playback));
  EXPECT_EQ(Started("pavucontrol"), "pavucontrol|--tab|1|end");
  EXPECT_TRUE(launcher_.StartVolumeControl(View::Recording));
  EXPECT_EQ(Started("pavucontrol"), "pavucontrol|--tab|2|end");
}

}  // namespace
}  // namespace kiv
