// The platform services that touch the system: settings on disk, the autostart entry, the
// single-instance lock, the folders and the free space. They run against real files in the
// throw-away home that ctest gives every test (HOME, XDG_* and TMPDIR under testhome/).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <memory>

#include "platform/AutostartEntry.h"
#include "platform/QtFolders.h"
#include "platform/QtFreeSpace.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtSingleInstance.h"

namespace kiv {
namespace {

QString ReadText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool WriteText(const QString& path, const QString& text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

// Tests that write settings or autostart files refuse to run outside the throw-away home, so a
// hand run of the binary cannot touch the user's own files.
class InThrowAwayHome : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "TMPDIR"}) {
      ASSERT_TRUE(qEnvironmentVariable(name).contains(QStringLiteral("/testhome/")))
          << name << " must point into the test home; run the tests through ctest";
    }
  }
  const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
};

using SettingsStoreTest = InThrowAwayHome;

TEST_F(SettingsStoreTest, ValuesAreOnDiskUnderTheVersionGroupAsSoonAsTheyAreWritten) {
  QtSettingsStore store;
  EXPECT_EQ(store.Stored(settings::TickerSpeed), QString());
  EXPECT_EQ(store.Read(settings::TickerSpeed), QStringLiteral("Slow")) << "the default";
  store.Write(settings::ChangeTo, QStringLiteral("/data/message 1.wav"));
  // What the external converter reads: the file itself, not this process's copy.
  const QString file = config + QStringLiteral("/Zorvikware/Kiv Sound Recorder.conf");
  EXPECT_TRUE(ReadText(file).contains(QStringLiteral("[3.4]")));
  EXPECT_TRUE(ReadText(file).contains(QStringLiteral("ChangeTo=/data/message 1.wav")));
  // Changed by another program, seen by the next read; hand-typed text with commas is one text.
  ASSERT_TRUE(WriteText(file, QStringLiteral("[3.4]\nMSpeed=Medium\nCustomText=one, two, three\n")));
  EXPECT_EQ(store.Read(settings::TickerSpeed), QStringLiteral("Medium"));
  EXPECT_EQ(store.Read(settings::CustomText), QStringLiteral("one, two, three"));
  for (const QString& text :
       {QStringLiteral("Hello, world; 100% = \"fine\""), QStringLiteral("  padded  "),
        QStringLiteral("Caf\u00e9 \u00bbK\u00e4se\u00ab"), QStringLiteral("[3.4]\\back\\slash")}) {
    QtSettingsStore().Write(settings::CustomText, text);
    EXPECT_EQ(QtSettingsStore().Read(settings::CustomText), text) << "comes back as written";
  }
}

#ifndef Q_OS_WIN
TEST(AutostartEntryTest, FileGoesUnderXdgConfigHomeOrHomeConfigAndExecIsQuotedAndEscaped) {
  const QString home = QStringLiteral("/home/ann");
  EXPECT_EQ(AutostartEntry::FilePathFor(QStringLiteral("/cfg"), home),
            QStringLiteral("/cfg/autostart/KivRec.desktop"));
  // A relative XDG_CONFIG_HOME is invalid and ignored.
  EXPECT_EQ(AutostartEntry::FilePathFor(QStringLiteral("cfg"), home),
            QStringLiteral("/home/ann/.config/autostart/KivRec.desktop"));
  EXPECT_EQ(AutostartEntry::FilePathFor(QString(), QString()), QString());
  const std::pair<const char*, const char*> cases[] = {
      {"/usr/bin/KivRec", "/usr/bin/KivRec"},
      // Inside quotes ", `, $ and \ take a backslash; the file's own escaping then doubles every
      // backslash.
      {"/opt/a$b/say\"hi\"/KivRec", "\"/opt/a\\\\$b/say\\\\\"hi\\\\\"/KivRec\""},
      {"/opt/back\\slash/KivRec", "\"/opt/back\\\\\\\\slash/KivRec\""},
      {"/opt/tick`/KivRec", "\"/opt/tick\\\\`/KivRec\""},
      // "%" starts a field code unless doubled, quoted or not.
      {"/opt/100%/KivRec", "/opt/100%%/KivRec"}, {"/opt/100 %/KivRec", "\"/opt/100 %%/KivRec\""},
  };
  for (const auto& [path, exec] : cases) {
    EXPECT_EQ(AutostartEntry::ExecValue(QString::fromUtf8(path)), QString::fromUtf8(exec)) << path;
  }
}

using AutostartFileTest = InThrowAwayHome;

TEST_F(AutostartFileTest, SwitchingOnWritesTheEntryAndOffRemovesIt) {
  const QString file = config + QStringLiteral("/autostart/KivRec.desktop");
  QtSettingsStore store;
  store.SetAutostart(true, QStringLiteral("/opt/Kiv Sound Recorder/KivRec"));
  EXPECT_EQ(ReadText(file),
            QStringLiteral("[Desktop Entry]\nType=Application\nName=Kiv Sound Recorder\n"
                           "Exec=\"/opt/Kiv Sound Recorder/KivRec\"\nTerminal=false\n"
                           "X-GNOME-Autostart-enabled=true\n"));
  store.SetAutostart(false, QStringLiteral("/usr/bin/KivRec"));
  EXPECT_FALSE(QFileInfo::exists(file));
}
#endif

TEST(SingleInstanceTest, SecondGuardIsRefusedUntilTheFirstIsGoneButAStaleLockStopsNothing) {
  QTemporaryDir folder;
  auto first = std::make_unique<QtSingleInstance>(folder.path());
  ASSERT_TRUE(first->TryAcquire());
  EXPECT_TRUE(first->TryAcquire()) << "asking again keeps the guard";
  QtSingleInstance second(folder.path());
  EXPECT_FALSE(second.TryAcquire());
  first.reset();
  EXPECT_TRUE(second.TryAcquire());
  // What a crashed copy leaves behind after a reboot: a lock naming a process that is gone.
  QTemporaryDir other;
  ASSERT_TRUE(
      WriteText(other.filePath(QStringLiteral("KivSoundRecorderMutex.lock")),
                QStringLiteral("2147483646\nKivRec\n") + QSysInfo::machineHostName() + u'\n'));
  EXPECT_TRUE(QtSingleInstance(other.path()).TryAcquire());
  // A folder that cannot hold a lock does not stop the program either.
  const QString file = other.filePath(QStringLiteral("plain-file"));
  ASSERT_TRUE(WriteText(file, QStringLiteral("x")));
  EXPECT_TRUE(QtSingleInstance(file + QStringLiteral("/below-a-file")).TryAcquire());
}

#ifndef Q_OS_WIN
TEST(FoldersTest, DataFolderFollowsTheCompanionsRuleAndIsMadeOrFallsBackToTheTemporaryFolder) {
  const QString home = QStringLiteral("/home/ann");
  EXPECT_EQ(QtFolders::DataFolderFor(QStringLiteral("/data//"), home),
            QStringLiteral("/data/Zorvikware/Kiv Sound Recorder/"));
  EXPECT_EQ(QtFolders::DataFolderFor(QStringLiteral("data"), QStringLiteral("/home/ann/")),
            QStringLiteral("/home/ann/.local/share/Zorvikware/Kiv Sound Recorder/"));
  EXPECT_EQ(QtFolders::DataFolderFor(QString(), QString()), QString());
  EXPECT_EQ(QtFolders().ProgramFolder(), QDir::cleanPath(QStringLiteral(KIVREC_BIN_DIR)) + u'/');
  QTemporaryDir root;
  const QByteArray old = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("not/yet")).toLocal8Bit());
  const QString folder = QtFolders().DataFolder();
  EXPECT_EQ(folder, root.path() + QStringLiteral("/not/yet/Zorvikware/Kiv Sound Recorder/"));
  EXPECT_TRUE(QFileInfo(folder).isDir());
  const QString file = root.filePath(QStringLiteral("plain-file"));
  ASSERT_TRUE(WriteText(file, QStringLiteral("x")));
  qputenv("XDG_DATA_HOME", file.toLocal8Bit());
  EXPECT_EQ(QtFolders().DataFolder(),
            QDir::cleanPath(qEnvironmentVariable("TMPDIR")) + QStringLiteral("/"));
  qputenv("XDG_DATA_HOME", old);
}

TEST(FreeSpaceTest, AFolderAndAPathNotMadeYetAreMeasuredOnTheirVolume) {
  QTemporaryDir root;
  QtFreeSpace space;
  const QString volume = space.VolumeName(root.path());
  EXPECT_TRUE(QFileInfo(root.path()).canonicalFilePath().startsWith(volume));
  const QString future = root.filePath(QStringLiteral("a/b/kivrec.cst"));
  EXPECT_GT(space.FreeMiB(future), 0.0);
  EXPECT_EQ(space.VolumeName(future), volume);
}
#endif

}  // namespace
}  // namespace kiv
