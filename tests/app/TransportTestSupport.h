// The real panel with a cassette of three messages and the fake sound devices, and the small
// moves of a user's hand: clicking, pressing and releasing the panel's keys.
#pragma once

#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include "AppTestSupport.h"
#include "app/TImageControl.h"
#include "cassette/CassetteReport.h"
#include "panel/FindFileNoCase.h"
#include "panel/TZvTrayIcon.h"

namespace kiv::test {

inline constexpr uint32_t kRate = 11025;

class TransportTest : public PanelTest {
 protected:
  // Messages of 3, 5 and 30 seconds, the first selected.
  TKivRecForm& BuildWithMessages() {
    WriteCassette(MakeCassette(38 * kRate, {{1, 0, 3 * kRate, "255%05.12.2026|65280%09:00:00"},
                                            {2, 3 * kRate, 8 * kRate, "255%05.12.2026|65280%09:10:00"},
                                            {3, 8 * kRate, 38 * kRate, "255%05.12.2026|65280%09:20:00|255%Long"}}));
    return Build();
  }

  TImageControl* Key(const char* name) const { return Find<TImageControl>(name); }
  QTimer* Timer(const char* name) const { return Find<QTimer>(name); }
  void Click(const char* key) { QTest::mouseClick(Key(key), Qt::LeftButton); }
  void Press(const char* key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mousePress(Key(key), Qt::LeftButton, modifiers);
  }
  void Release(const char* key) { QTest::mouseRelease(Key(key), Qt::LeftButton); }

  // Whether the key shows the skin's picture `file`.
  bool Shows(const char* key, const char* file) const {
    // Skins name their files in any case.
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
};

}  // namespace kiv::test
