// The real front panel, built offscreen in a throw-away program folder with the shipped skins,
// fake settings, dialogs and free space, for the app tests.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "app/TKivRecForm.h"
#include "audio/CaptureEngine.h"
#include "audio/PlaybackEngine.h"
#include "platform/fake/FakeAudioInput.h"
#include "platform/fake/FakeAudioOutput.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeFolders.h"
#include "platform/fake/FakeFreeSpace.h"
#include "platform/fake/FakeSettingsStore.h"
#include "platform/fake/FakeSoundPlayer.h"

QT_BEGIN_NAMESPACE
// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace kiv::test {

inline bool CopyFolder(const QString& from, const QString& to) {
  QDir source(from);
  if (!QDir().mkpath(to)) return false;
  for (const QString& name : source.entryList(QDir::Files)) {
    if (!QFile::copy(from + u'/' + name, to + u'/' + name)) return false;
  }
  for (const QString& name : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (!CopyFolder(from + u'/' + name, to + u'/' + name)) return false;
  }
  return true;
}

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    program_ = root_.path() + QStringLiteral("/program/");
    data_ = root_.path() + QStringLiteral("/data/");
    temp_ = root_.path() + QStringLiteral("/tmp/");
    ASSERT_TRUE(QDir().mkpath(data_) && QDir().mkpath(temp_));
    ASSERT_TRUE(CopyFolder(QStringLiteral(KIVREC_BIN_DIR "/Skin"), program_ + QStringLiteral("Skin")))
        << "the build puts the skins in bin/Skin";
    // The icons and sounds that ship beside the program.
    const QStringList shipped = QDir(QStringLiteral(KIVREC_BIN_DIR))
                                    .entryList({QStringLiteral("*.ico"), QStringLiteral("*.wav")});
    for (const QString& file : shipped) {
      ASSERT_TRUE(QFile::copy(QStringLiteral(KIVREC_BIN_DIR "/") + file, program_ + file));
    }
  }

  // Builds the panel with the settings given so far.
  TKivRecForm& Build() {
    folders_ = std::make_unique<FakeFolders>(program_, data_, temp_);
    KivRecServices services;
    services.settings = &settings_;
    services.dialogs = &dialogs_;
    services.freeSpace = &freeSpace_;
    services.folders = folders_.get();
    services.audioOutput = &output_;
    services.audioInput = &input_;
    services.soundPlayer = &sounds_;
    services.clock = [] { return LocalTime{2026, 12, 5, 14, 3, 59}; };
    services.logicalDpi = dpi_;
    services.programPath = program_ + QStringLiteral("KivRec");
    services.trayAvailable = trayAvailable_;
    dialogs_.SetPanel(nullptr);
    form_ = std::make_unique<TKivRecForm>(services);
    return *form_;
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

  QTemporaryDir root_{QDir::tempPath() + QStringLiteral("/panel-XXXXXX")};
  QString program_, data_, temp_;
  int dpi_ = 96;
  bool trayAvailable_ = false;
  FakeSettingsStore settings_;
  FakeDialogs dialogs_;
  FakeFreeSpace freeSpace_;
  FakeAudioOutput output_;
  FakeAudioInput input_;
  FakeSoundPlayer sounds_;
  std::unique_ptr<FakeFolders> folders_;
  std::unique_ptr<TKivRecForm> form_;
};

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
  put(11025);
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

}  // namespace kiv::test
