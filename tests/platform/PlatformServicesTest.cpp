// The platform services that touch the system: settings on disk, the autostart entry, the
// single-instance lock, the folders and the free space. They run against real files in the
// throw-away home that ctest gives every test (HOME, XDG_* and TMPDIR under testhome/).
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <cstdlib>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>

#include "platform/AutostartEntry.h"
#include "platform/FakeFreeSpace.h"
#include "platform/FakeSettingsStore.h"
#include "platform/FakeSingleInstance.h"
#include "platform/QtFolders.h"
#include "platform/QtFreeSpace.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtSingleInstance.h"

namespace kiv {
namespace {

// Sets an environment variable for one scope and puts the old state back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QString& value)
      : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    qputenv(name_, value.toLocal8Bit());
  }
  ~ScopedEnv() {
    if (wasSet_) {
      qputenv(name_, old_);
    } else {
      qunsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  bool wasSet_;
  QByteArray old_;
};

QString ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

bool WriteText(const QString& path, const QString& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(text.toUtf8()) == text.toUtf8().size();
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
  static QString ConfigHome() { return qEnvironmentVariable("XDG_CONFIG_HOME"); }
  static QString SettingsFile() {
    return ConfigHome() + QStringLiteral("/Zorvikware/Kiv Sound Recorder.conf");
  }
};

// --- Settings ---------------------------------------------------------------------------------

using SettingsStoreTest = InThrowAwayHome;

TEST_F(SettingsStoreTest, AbsentValueReadsAsEmptyText) {
  QtSettingsStore store;
  EXPECT_EQ(store.ReadSetting(QStringLiteral("NeverWrittenByAnyone")), QString());
}

TEST_F(SettingsStoreTest, WrittenValueIsInTheConfigFileUnderXdgConfigHome) {
  QtSettingsStore().WriteSetting(QStringLiteral("OnTop"), QStringLiteral("ON"));

  const QString file = SettingsFile();
  ASSERT_TRUE(QFileInfo::exists(file));
  QSettings ini(file, QSettings::IniFormat);
  EXPECT_EQ(ini.value(QStringLiteral("3.4/OnTop")).toString(), QStringLiteral("ON"));
  EXPECT_EQ(QtSettingsStore().ReadSetting(QStringLiteral("OnTop")), QStringLiteral("ON"));
}

TEST_F(SettingsStoreTest, WriteIsOnDiskBeforeItReturns) {
  QtSettingsStore store;
  store.WriteSetting(QStringLiteral("ChangeTo"), QStringLiteral("/data/message 1.wav"));
  // What the external converter reads: the file itself, not this process's copy.
  const QString text = ReadText(SettingsFile());
  EXPECT_TRUE(text.contains(QStringLiteral("[3.4]")));
  EXPECT_TRUE(text.contains(QStringLiteral("ChangeTo=/data/message 1.wav")));
}

TEST_F(SettingsStoreTest, ValueChangedByAnotherProgramIsSeenByTheNextRead) {
  QtSettingsStore store;
  store.WriteSetting(QStringLiteral("MSpeed"), QStringLiteral("Slow"));
  ASSERT_EQ(store.ReadSetting(QStringLiteral("MSpeed")), QStringLiteral("Slow"));

  const QString file = SettingsFile();
  ASSERT_TRUE(WriteText(file, QStringLiteral("[3.4]\nMSpeed=Medium\nUseZACexe=YES\n")));

  EXPECT_EQ(store.ReadSetting(QStringLiteral("MSpeed")), QStringLiteral("Medium"));
  EXPECT_EQ(store.ReadSetting(QStringLiteral("UseZACexe")), QStringLiteral("YES"));
}

TEST_F(SettingsStoreTest, AnyTextComesBackAsItWasWritten) {
  QtSettingsStore store;
  const QStringList texts = {QStringLiteral("Hello, world; 100% = \"fine\""),
                             QStringLiteral("  leading and trailing  "),
                             QStringLiteral("Caf\u00e9 \u00bbK\u00e4se\u00ab"),
                             QStringLiteral("[3.4]\\back\\slash"), QString()};
  for (const QString& text : texts) {
    store.WriteSetting(QStringLiteral("CustomText"), text);
    EXPECT_EQ(QtSettingsStore().ReadSetting(QStringLiteral("CustomText")), text);
  }
}

TEST_F(SettingsStoreTest, HandTypedTextWithCommasReadsAsOneText) {
  const QString file = SettingsFile();
  ASSERT_TRUE(WriteText(file, QStringLiteral("[3.4]\nCustomText=one, two, three\n")));
  EXPECT_EQ(QtSettingsStore().ReadSetting(QStringLiteral("CustomText")),
            QStringLiteral("one, two, three"));
}

TEST(FakeSettingsStoreTest, KeepsValuesAndAutostartInMemory) {
  FakeSettingsStore store({{QStringLiteral("OnTop"), QStringLiteral("ON")}});
  EXPECT_EQ(store.ReadSetting(QStringLiteral("OnTop")), QStringLiteral("ON"));
  EXPECT_EQ(store.ReadSetting(QStringLiteral("DDX")), QString());
  EXPECT_FALSE(store.Contains(QStringLiteral("DDX")));

  store.WriteSetting(QStringLiteral("DDX"), QStringLiteral("30"));
  EXPECT_EQ(store.ReadSetting(QStringLiteral("DDX")), QStringLiteral("30"));
  EXPECT_EQ(store.WriteCount(), 1);

  store.SetAutostart(true, QStringLiteral("/opt/kiv/KivRec"));
  EXPECT_TRUE(store.AutostartOn());
  EXPECT_EQ(store.AutostartProgram(), QStringLiteral("/opt/kiv/KivRec"));
  store.SetAutostart(false, QStringLiteral("/opt/kiv/KivRec"));
  EXPECT_FALSE(store.AutostartOn());
  EXPECT_EQ(store.AutostartProgram(), QString());
}

// --- Autostart entry --------------------------------------------------------------------------

#ifndef Q_OS_WIN

TEST(AutostartEntryTest, FileGoesUnderXdgConfigHomeOrHomeConfig) {
  const QString home = QStringLiteral("/home/ann");
  EXPECT_EQ(AutostartEntry::FilePathFor(QStringLiteral("/cfg"), home),
            QStringLiteral("/cfg/autostart/KivRec.desktop"));
  EXPECT_EQ(AutostartEntry::FilePathFor(QString(), home),
            QStringLiteral("/home/ann/.config/autostart/KivRec.desktop"));
  // A relative XDG_CONFIG_HOME is invalid and ignored.
  EXPECT_EQ(AutostartEntry::FilePathFor(QStringLiteral("cfg"), home),
            QStringLiteral("/home/ann/.config/autostart/KivRec.desktop"));
  EXPECT_EQ(AutostartEntry::FilePathFor(QString(), QString()), QString());
}

TEST(AutostartEntryTest, ExecValueQuotesAndEscapesByTheDesktopEntryRules) {
  EXPECT_EQ(AutostartEntry::ExecValue(QStringLiteral("/usr/bin/KivRec")),
            QStringLiteral("/usr/bin/KivRec"));
  EXPECT_EQ(AutostartEntry::ExecValue(QStringLiteral("/opt/Kiv Sound Recorder/KivRec")),
            QStringLiteral("\"/opt/Kiv Sound Recorder/KivRec\""));
  // Inside quotes ", `, $ and \ take a backslash; the file's own escaping then doubles every
  // backslash.
  EXPECT_EQ(AutostartEntry::ExecValue(QStringLiteral("/opt/a$b/say\"hi\"/KivRec")),
            QStringLiteral("\"/opt/a\\\\$b/say\\\\\"hi\\\\\"/KivRec\""));
  EXPECT_EQ(AutostartEntry::ExecValue(QStringLiteral("/opt/back\\slash/KivRec")),
            QStringLiteral("\"/opt/back\\\\\\\\slash/KivRec\""));
  // "%" starts a field code unless doubled, quoted or not.
  EXPECT_EQ(AutostartEntry::ExecValue(QStringLiteral("/opt/100%/KivRec")),
            QStringLiteral("/opt/100%%/KivRec"));
  EXPECT_EQ(AutostartEntry::ExecValue(QStringLiteral("/opt/100 %/KivRec")),
            QStringLiteral("\"/opt/100 %%/KivRec\""));
}

using AutostartFileTest = InThrowAwayHome;

TEST_F(AutostartFileTest, SwitchingOnWritesTheEntryAndOffRemovesIt) {
  const QString file = ConfigHome() + QStringLiteral("/autostart/KivRec.desktop");
  QtSettingsStore store;

  store.SetAutostart(true, QStringLiteral("/opt/Kiv Sound Recorder/KivRec"));
  EXPECT_EQ(ReadText(file), QStringLiteral("[Desktop Entry]\n"
                                           "Type=Application\n"
                                           "Name=Kiv Sound Recorder\n"
                                           "Exec=\"/opt/Kiv Sound Recorder/KivRec\"\n"
                                           "Terminal=false\n"
                                           "X-GNOME-Autostart-enabled=true\n"));

  store.SetAutostart(true, QStringLiteral("/usr/bin/KivRec"));
  EXPECT_TRUE(ReadText(file).contains(QStringLiteral("\nExec=/usr/bin/KivRec\n")));

  store.SetAutostart(false, QStringLiteral("/usr/bin/KivRec"));
  EXPECT_FALSE(QFileInfo::exists(file));
  // Switching off again finds nothing to remove and creates nothing.
  store.SetAutostart(false, QStringLiteral("/usr/bin/KivRec"));
  EXPECT_FALSE(QFileInfo::exists(file));
}

#endif

// --- Single instance --------------------------------------------------------------------------

TEST(SingleInstanceTest, SecondGuardIsRefusedUntilTheFirstIsGone) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  auto first = std::make_unique<QtSingleInstance>(folder.path());
  ASSERT_TRUE(first->TryAcquire());
  EXPECT_TRUE(first->TryAcquire()) << "asking again keeps the guard";
  EXPECT_EQ(first->LockFilePath(), folder.filePath(QStringLiteral("KivSoundRecorderMutex.lock")));

  QtSingleInstance second(folder.path());
  EXPECT_FALSE(second.TryAcquire());
  first.reset();
  EXPECT_TRUE(second.TryAcquire());
}

TEST(SingleInstanceTest, LockLeftByAVanishedProcessIsTakenOver) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  // What a crashed copy leaves behind after a reboot: a lock naming a process that is gone.
  ASSERT_TRUE(WriteText(folder.filePath(QStringLiteral("KivSoundRecorderMutex.lock")),
                        QStringLiteral("2147483646\nKivRec\n") + QSysInfo::machineHostName() +
                            QStringLiteral("\n")));
  QtSingleInstance guard(folder.path());
  EXPECT_TRUE(guard.TryAcquire());
}

TEST(SingleInstanceTest, FolderThatCannotHoldTheLockDoesNotStopTheProgram) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString file = folder.filePath(QStringLiteral("plain-file"));
  ASSERT_TRUE(WriteText(file, QStringLiteral("x")));
  QtSingleInstance guard(file + QStringLiteral("/below-a-file"));
  EXPECT_TRUE(guard.TryAcquire());
}

#ifndef Q_OS_WIN
TEST(SingleInstanceTest, DefaultFolderIsTheRuntimeFolder) {
  QTemporaryDir runtime;
  ASSERT_TRUE(runtime.isValid());
  ScopedEnv env("XDG_RUNTIME_DIR", runtime.path());
  EXPECT_EQ(QtSingleInstance::DefaultFolder(), runtime.path());
  EXPECT_EQ(QtSingleInstance().LockFilePath(),
            runtime.path() + QStringLiteral("/KivSoundRecorderMutex.lock"));
}
#endif

TEST(SingleInstanceTest, FakeAnswersAsScripted) {
  FakeSingleInstance alone;
  FakeSingleInstance second(true);
  EXPECT_TRUE(alone.TryAcquire());
  EXPECT_FALSE(second.TryAcquire());
  EXPECT_EQ(second.AcquireCount(), 1);
}

#if GTEST_HAS_DEATH_TEST && !defined(Q_OS_WIN)
// Not about crashes of our code: gtest's death tests are the simplest way to have the guard taken
// in a second, real process (a fork of this one) and to end that process as a crash would.
TEST(SingleInstanceDeathTest, AnotherRunningProcessIsRefused) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QtSingleInstance running(folder.path());
  ASSERT_TRUE(running.TryAcquire());
  // However long the first copy has been running.
  QFile lock(running.LockFilePath());
  ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
  ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addDays(-1),
                               QFileDevice::FileModificationTime));
  lock.close();

  EXPECT_EXIT(
      {
        QtSingleInstance second(folder.path());
        std::_Exit(second.TryAcquire() ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(SingleInstanceDeathTest, LockOfAKilledProcessDoesNotBlockTheNextStart) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString lockFile = folder.filePath(QStringLiteral("KivSoundRecorderMutex.lock"));

  EXPECT_EXIT(
      {
        QtSingleInstance killed(folder.path());
        if (!killed.TryAcquire()) std::_Exit(1);
        std::raise(SIGKILL);
      },
      ::testing::KilledBySignal(SIGKILL), "");

  ASSERT_TRUE(QFileInfo::exists(lockFile)) << "the killed process left its lock behind";
  QtSingleInstance next(folder.path());
  EXPECT_TRUE(next.TryAcquire());
}
#endif

// --- Folders ----------------------------------------------------------------------------------

TEST(FoldersTest, DataFolderFollowsTheCompanionsRule) {
  const QString home = QStringLiteral("/home/ann");
  EXPECT_EQ(QtFolders::DataFolderFor(QStringLiteral("/data"), home),
            QStringLiteral("/data/Zorvikware/Kiv Sound Recorder/"));
  EXPECT_EQ(QtFolders::DataFolderFor(QStringLiteral("/data//"), home),
            QStringLiteral("/data/Zorvikware/Kiv Sound Recorder/"));
  EXPECT_EQ(QtFolders::DataFolderFor(QString(), home),
            QStringLiteral("/home/ann/.local/share/Zorvikware/Kiv Sound Recorder/"));
  EXPECT_EQ(QtFolders::DataFolderFor(QStringLiteral("data"), QStringLiteral("/home/ann/")),
            QStringLiteral("/home/ann/.local/share/Zorvikware/Kiv Sound Recorder/"));
  EXPECT_EQ(QtFolders::DataFolderFor(QStringLiteral("/"), home),
            QStringLiteral("/Zorvikware/Kiv Sound Recorder/"));
  EXPECT_EQ(QtFolders::DataFolderFor(QString(), QString()), QString());
}

TEST(FoldersTest, TrailingSlashIsExactlyOne) {
  EXPECT_EQ(QtFolders::WithTrailingSlash(QStringLiteral("/tmp")), QStringLiteral("/tmp/"));
  EXPECT_EQ(QtFolders::WithTrailingSlash(QStringLiteral("/tmp///")), QStringLiteral("/tmp/"));
  EXPECT_EQ(QtFolders::WithTrailingSlash(QStringLiteral("//")), QStringLiteral("/"));
}

#ifndef Q_OS_WIN
TEST(FoldersTest, DataFolderIsCreatedWithItsParents) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  ScopedEnv env("XDG_DATA_HOME", root.filePath(QStringLiteral("not/yet")));

  const QString folder = QtFolders().DataFolder();
  EXPECT_EQ(folder, root.path() + QStringLiteral("/not/yet/Zorvikware/Kiv Sound Recorder/"));
  EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST(FoldersTest, DataFolderThatCannotBeMadeFallsBackToTheTemporaryFolder) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString file = root.filePath(QStringLiteral("plain-file"));
  ASSERT_TRUE(WriteText(file, QStringLiteral("x")));
  ScopedEnv env("XDG_DATA_HOME", file);

  QtFolders folders;
  EXPECT_EQ(folders.DataFolder(), folders.TempFolder());
}
#endif

TEST(FoldersTest, ProgramAndTemporaryFoldersEndWithASlash) {
  QtFolders folders;
  EXPECT_EQ(folders.ProgramFolder(), QDir::cleanPath(QStringLiteral(KIVREC_BIN_DIR)) + u'/');
  EXPECT_EQ(folders.TempFolder(), QDir::cleanPath(QDir::tempPath()) + u'/');
  if (qEnvironmentVariableIsSet("TMPDIR")) {
    EXPECT_EQ(folders.TempFolder(), QDir::cleanPath(qEnvironmentVariable("TMPDIR")) + u'/');
  }
}

// --- Free space -------------------------------------------------------------------------------

TEST(FreeSpaceTest, TemporaryFolderHasSpaceOnAMountedVolume) {
  QtFreeSpace space;
  const QString temp = QDir::tempPath();
  EXPECT_GT(space.FreeMiB(temp), 0.0);

  const QString volume = space.VolumeName(temp);
  ASSERT_FALSE(volume.isEmpty());
#ifndef Q_OS_WIN
  EXPECT_TRUE(QFileInfo(volume).isDir());
  EXPECT_TRUE(QFileInfo(temp).canonicalFilePath().startsWith(volume)) << volume.toStdString();
#else
  EXPECT_EQ(volume.size(), 2);
  EXPECT_EQ(volume.at(1), u':');
#endif
}

TEST(FreeSpaceTest, PathThatDoesNotExistYetIsMeasuredOnItsVolume) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString future = root.filePath(QStringLiteral("a/b/kivrec.cst"));
  QtFreeSpace space;
  EXPECT_GT(space.FreeMiB(future), 0.0);
  EXPECT_EQ(space.VolumeName(future), space.VolumeName(root.path()));
}

TEST(FreeSpaceTest, FakeGivesTheScriptedSpaceAndRecordsThePath) {
  FakeFreeSpace space(5.9, QStringLiteral("C:"));
  EXPECT_DOUBLE_EQ(space.FreeMiB(QStringLiteral("C:/data/kivrec.cst")), 5.9);
  space.SetFreeMiB(0.5);
  EXPECT_DOUBLE_EQ(space.FreeMiB(QStringLiteral("C:/data/kivrec.cst")), 0.5);
  EXPECT_EQ(space.VolumeName(QStringLiteral("C:/data/kivrec.cst")), QStringLiteral("C:"));
  EXPECT_EQ(space.AskedPaths().size(), 3);
}

}  // namespace
}  // namespace kiv
