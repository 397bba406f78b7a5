// The real front panel, built offscreen in a throw-away program folder with the shipped skins,
// fake settings, dialogs, free space and sound devices, and the moves of a user's hand on it.
#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

#include "app/TImageControl.h"
#include "app/TKivRecForm.h"
#include "audio/CaptureEngine.h"
#include "audio/PlaybackEngine.h"
#include "cassette/CassetteReport.h"
#include "mailweb/XdgEmailMapi.h"
#include "mixer/TAudioMixer.h"
#include "mixer/fake/FakeMixerBackend.h"
#include "panel/FindFileNoCase.h"
#include "panel/TMarquee.h"
#include "panel/TZvTrayIcon.h"
#include "platform/fake/FakeAudioInput.h"
#include "convert/ConversionJob.h"
#include "platform/fake/FakeAudioOutput.h"
#include "platform/fake/FakeConversionDoneChannel.h"
#include "platform/fake/FakeDesktopLauncher.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeFolders.h"
#include "platform/fake/FakeFreeSpace.h"
#include "platform/fake/FakeSettingsStore.h"
#include "platform/fake/FakeSoundPlayer.h"
#include "platform/SettingNames.h"
#include "../support/XdgTestHome.h"

QT_BEGIN_NAMESPACE
// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

// The converter module's entry point: the tests link the module.
extern "C" kiv::ConversionJob* KivNewConversionJob(const char* tempFolder, const char* programFolder);

namespace kiv::test {

inline constexpr uint32_t kRate = 11025;

// A cassette in bytes: sound, then the table with the given entries (number, start, end, name).
struct EntrySpec {
  uint32_t number, start, end;
  const char* name;
};

inline QByteArray MakeCassette(uint32_t soundBytes, std::initializer_list<EntrySpec> entries) {
  QByteArray bytes(int(soundBytes), char(0x80));
  auto put = [&bytes](uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.append(char((v >> (8 * i)) & 0xFF));
  };
  put(0xFEFEFEFEu);
  put(kRate);
  for (const EntrySpec& e : entries) {
    put(e.number);
    put(e.start);
    put(e.end);
    QByteArray name(e.name);
    name.append('\r');
    name.append(QByteArray(124 - name.size(), ' '));
    name.append(QByteArray(4, char(0xFC)));
    bytes.append(name);
  }
  return bytes;
}

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    program_ = root_.path() + QStringLiteral("/program/");
    data_ = root_.path() + QStringLiteral("/data/");
    ASSERT_TRUE(QDir().mkpath(data_) && QDir().mkpath(root_.path() + QStringLiteral("/tmp")));
    // The skins, icons and sounds that ship beside the program.
    const QString bin = QStringLiteral(KIVREC_BIN_DIR "/");
    QDirIterator shipped(bin, QDir::Files, QDirIterator::Subdirectories);
    while (shipped.hasNext()) {
      const QString file = shipped.next().mid(bin.size());
      const bool beside = !file.contains(u'/') && (file.endsWith(u".ico") || file.endsWith(u".wav") ||
                                                   file.endsWith(u".bmp"));
      if (!beside && !file.startsWith(u"Skin/")) continue;
      ASSERT_TRUE(QDir().mkpath(QFileInfo(program_ + file).path()));
      ASSERT_TRUE(QFile::copy(bin + file, program_ + file)) << file.toStdString();
    }
    // A desktop of the test's own with one browser; the start-up panel stays away unless asked.
    xdg_ = std::make_unique<XdgTestHome>(root_.path() + QStringLiteral("/desktop"));
    browser_ = xdg_->AddRecorder(QStringLiteral("browser"));
    xdg_->AddApplication(QStringLiteral("browser.desktop"), browser_ + QStringLiteral(" %u"));
    xdg_->SetDefault(QStringLiteral("config/mimeapps.list"), QStringLiteral("text/html"),
                     QStringLiteral("browser.desktop"));
    settings_.Write(settings::ShowStartupDialog, QStringLiteral("OFF"));
  }

  // Builds the panel with the settings given so far, shown if asked.
  TKivRecForm& Build(bool shown = false) {
    form_.reset();  // before the mail binding it uses
    mail_ = std::make_unique<XdgEmailMapi>();
    folders_ = std::make_unique<FakeFolders>(program_, data_, root_.path() + QStringLiteral("/tmp/"));
    const KivRecServices services{
        .settings = &settings_, .dialogs = &dialogs_, .freeSpace = &freeSpace_,
        .folders = folders_.get(), .audioOutput = &output_, .audioInput = &input_,
        .soundPlayer = &sounds_, .launcher = &launcher_, .mail = mail_.get(),
        .newConversionJob = [this](QString*) {
          return std::unique_ptr<ConversionJob>(KivNewConversionJob(
              QFile::encodeName(root_.path() + QStringLiteral("/tmp/")).constData(),
              QFile::encodeName(program_).constData()));
        },
        .doneChannel = &doneChannel_, .clock = [] { return LocalTime{2026, 12, 5, 14, 3, 59}; },
        .logicalDpi = 96, .programPath = program_ + QStringLiteral("KivRec"),
        .trayAvailable = trayAvailable_};
    dialogs_.SetPanel(nullptr);
    // The mixer outlives the panels of one test; its elements are the test's until then.
    if (!mixer_) mixer_ = std::make_unique<TAudioMixer>(std::move(mixerBackendOwned_));
    KivRecServices withMixer = services;
    withMixer.mixer = mixer_.get();
    form_ = std::make_unique<TKivRecForm>(withMixer);
    if (shown) form_->show();
    return *form_;
  }

  // Messages of 3, 5 and 30 seconds, the first selected; the panel shown.
  TKivRecForm& BuildWithMessages() {
    WriteCassette(MakeCassette(38 * kRate, {{1, 0, 3 * kRate, "255%05.12.2026|65280%09:00:00"},
                                            {2, 3 * kRate, 8 * kRate, "255%05.12.2026|65280%09:10:00"},
                                            {3, 8 * kRate, 38 * kRate, "255%05.12.2026|65280%09:20:00|255%Long"}}));
    return Build(true);
  }

  QString CassettePath() const { return data_ + QStringLiteral("kivrec.cst"); }
  QByteArray CassetteBytes() const {
    QFile file(CassettePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void WriteCassette(const QByteArray& bytes) const {
    QFile file(CassettePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }

  template <typename T>
  T* Find(const char* name) const {
    return form_->findChild<T*>(QString::fromLatin1(name));
  }
  QString Text(const char* label) const { return Find<QLabel>(label)->text(); }
  TImageControl* Key(const char* name) const { return Find<TImageControl>(name); }
  QTimer* Timer(const char* name) const { return Find<QTimer>(name); }
  void Click(const char* key) { QTest::mouseClick(Key(key), Qt::LeftButton); }
  void Press(const char* key) { QTest::mousePress(Key(key), Qt::LeftButton); }
  void Release(const char* key) { QTest::mouseRelease(Key(key), Qt::LeftButton); }

  // Whether the key shows the skin's picture `file` (skins name their files in any case).
  bool Shows(const char* key, const char* file) const {
    const QString path = FindFileNoCase(program_ + QStringLiteral("Skin/Default/"), QString::fromLatin1(file));
    const QImage expected = path.isEmpty() ? QImage() : QImage(path);
    return !expected.isNull() && Key(key)->Picture().convertToFormat(QImage::Format_RGB32) ==
                                     expected.convertToFormat(QImage::Format_RGB32);
  }
  QString TrayIconName() const { return QFileInfo(form_->TrayIcon().IconFile()).fileName(); }

  // The devices hand their buffers back through queued signals.
  static void Settle() { QCoreApplication::processEvents(); }

  // What the cassette file on disk says: its live messages' lengths in bytes, in number order.
  std::vector<uint32_t> MessageLengthsOnDisk() const {
    CassetteReport report;
    std::vector<uint32_t> lengths;
    if (!InspectCassette(CassettePath().toStdString(), &report).ok() || !report.table) return lengths;
    for (uint32_t n = 1; n <= report.messageCount; ++n) {
      if (const MessageEntry* entry = report.table->FindLive(n)) lengths.push_back(entry->end - entry->start);
    }
    return lengths;
  }

  // `count` full capture buffers of 1024 bytes arriving at the card, one after the other.
  void CaptureBuffers(int count) {
    for (int i = 0; i < count; ++i) {
      input_.Capture(QByteArray(1024, char(0x90)));
      Settle();
    }
  }

  QTemporaryDir root_{QDir::tempPath() + QStringLiteral("/panel-XXXXXX")};
  QString program_, data_;
  bool trayAvailable_ = false;
  FakeSettingsStore settings_;
  FakeDialogs dialogs_;
  FakeFreeSpace freeSpace_;
  FakeAudioOutput output_;
  FakeAudioInput input_;
  FakeSoundPlayer sounds_;
  FakeDesktopLauncher launcher_;
  FakeConversionDoneChannel doneChannel_;
  std::unique_ptr<XdgTestHome> xdg_;
  QString browser_;  // the desktop's browser, a program that records its arguments
  std::unique_ptr<XdgEmailMapi> mail_;
  std::unique_ptr<FakeFolders> folders_;
  // A mixer with no elements until the test adds some before building the panel.
  std::unique_ptr<FakeMixerBackend> mixerBackendOwned_ = std::make_unique<FakeMixerBackend>();
  FakeMixerBackend* mixerBackend_ = mixerBackendOwned_.get();
  std::unique_ptr<TAudioMixer> mixer_;
  std::unique_ptr<TKivRecForm> form_;
};

}  // namespace kiv::test
