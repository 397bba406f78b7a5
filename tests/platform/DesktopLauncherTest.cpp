// The desktop launcher against fake programs: small scripts in a folder that is the whole PATH,
// each writing its name and arguments to a log, so the test sees what was started and how.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "platform/QtDesktopLauncher.h"

namespace kiv {
namespace {

using View = DesktopLauncher::VolumeView;

TEST(DesktopLauncherTest, StartsTheFirstVolumeControlFoundOnTheAskedViewAndTheAddressHandler) {
  QTemporaryDir bin;
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", bin.path().toLocal8Bit());
  QtDesktopLauncher launcher;
  const QString address = QStringLiteral("file:///opt/kiv rec/Help/index.html");
  EXPECT_FALSE(launcher.StartVolumeControl(View::Playback));
  EXPECT_FALSE(launcher.OpenAddress(address));
  auto volume = [&launcher](View view) { return [&launcher, view] { return launcher.StartVolumeControl(view); }; };
  struct Step { const char* install; std::function<bool()> start; const char* started; };
  // Each step installs a program that comes before the volume controls installed so far.
  const Step steps[] = {
      {"mate-volume-control", volume(View::Recording), "mate-volume-control|--page|input|"},
      {"pavucontrol-qt", volume(View::Playback), "pavucontrol-qt|--tab|1|"},
      {"pavucontrol", volume(View::Recording), "pavucontrol|--tab|2|"},
      {"pavucontrol", volume(View::Playback), "pavucontrol|--tab|1|"},
      {"xdg-open", [&] { return launcher.OpenAddress(address); }, "xdg-open|file:///opt/kiv rec/Help/index.html|"}};
  for (const Step& step : steps) {
    QFile script(bin.filePath(QString::fromLatin1(step.install)));
    EXPECT_TRUE(script.open(QIODevice::WriteOnly));
    // The log is written aside and moved in whole, so the test never reads half of it.
    script.write("#!/bin/sh\nprintf '%s|' \"${0##*/}\" \"$@\" >\"$0.tmp\"\n/bin/mv \"$0.tmp\" \"${0%/*}/log\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(step.start()) << step.install;
    QFile log(bin.filePath(QStringLiteral("log")));
    EXPECT_TRUE(QTest::qWaitFor([&log] { return log.exists(); })) << step.install;
    EXPECT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll().toStdString(), step.started);
    log.remove();
  }
  qputenv("PATH", path);
}

}  // namespace
}  // namespace kiv
