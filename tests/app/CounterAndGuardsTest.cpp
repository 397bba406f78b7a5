// The counter's time positioner and the recording guards on the real panel: where the positioner
// puts the play head and when it stays shut, and how Record is refused or a recording stopped
// when the cassette is full, inconsistent or the disk runs short.
#include "AppTestSupport.h"
#include "app/TCGauge.h"
#include "app/TETPForm.h"
#include "app/TLimitForm.h"
#include "panel/TBMShapedForm.h"

namespace kiv::test {
namespace {

constexpr uint32_t kCapacity = 6615000;

// A cassette file of exactly `fileLength` bytes holding one message of all its sound.
QByteArray CassetteOfLength(uint32_t fileLength) {
  const uint32_t sound = fileLength - 8 - 140;
  return MakeCassette(sound, {{1, 0, sound, "255%05.12.2026|65280%09:00:00"}});
}

class GuardsTest : public PanelTest {
 protected:
  void ClickCounter() { QTest::mouseClick(Find<QLabel>("Count"), Qt::LeftButton); }
  // Counts the limit windows and answers them as the user would, with Close.
  void WatchForLimitWindow() {
    dialogs_.onModal = [this](QDialog& dialog) {
      EXPECT_NE(qobject_cast<TLimitForm*>(&dialog), nullptr) << "only the limit window is expected";
      ++limitWindows_;
      dialog.reject();
      return dialog.result();
    };
  }
  int limitWindows_ = 0;
};

TEST_F(GuardsTest, ThePositionerMovesTheHeadWhereTheBarIsClickedAndStaysShutWhileOffSpeed) {
  TKivRecForm& form = BuildWithMessages();
  int opened = 0;
  bool moveableWhileOpen = true;
  dialogs_.onModal = [&](QDialog& dialog) {
    auto& etp = dynamic_cast<TETPForm&>(dialog);
    ++opened;
    moveableWhileOpen = Find<TBMShapedForm>("ZvSkin1")->Moveable();
      const QPoint third(etp.ETP->width() / 3, 5);
    QTest::mousePress(etp.Label1, Qt::LeftButton, Qt::NoModifier, third);
    QTest::mouseRelease(etp.Label1, Qt::LeftButton, Qt::NoModifier, third);
    return dialog.result();
  };
  ClickCounter();
  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(moveableWhileOpen);
  EXPECT_TRUE(Timer("MoveableTimer")->isActive());
  EXPECT_EQ(Text("Count"), QStringLiteral("00:03 / 00:01"));

  Click("playButton");
  Press("forwEButton");
  Release("forwEButton");
  ClickCounter();
  EXPECT_EQ(opened, 1) << "no positioning during fast play";

  // A paused playback goes on from the new place, at normal speed.
  Click("playButton");
  Settle();
  Click("PauseButton");
  ASSERT_TRUE(form.Playback().PlayPaused());
  ClickCounter();
  EXPECT_EQ(opened, 2);
  Settle();
  EXPECT_FALSE(form.Playback().PlayPaused());
  EXPECT_EQ(form.cassette().Head().Position(), kRate);
  EXPECT_EQ(output_.Rate(), kRate);

  Click("stopButton");
  Settle();
  Click("recButton");
  ClickCounter();
  EXPECT_EQ(opened, 2) << "no positioning while recording";
}

TEST_F(GuardsTest, RecordStartsUpToTheCapacityAndRefusesBeyondWithTheLimitWindow) {
  WriteCassette(CassetteOfLength(kCapacity + 1));
  TKivRecForm& form = Build(true);
  WatchForLimitWindow();
  const QByteArray before = CassetteBytes();
  Click("recButton");
  EXPECT_EQ(limitWindows_, 1);
  EXPECT_EQ(sounds_.Played(), QStringList{program_ + QStringLiteral("limit.wav")});
  EXPECT_TRUE(form.cassette().CassetteStreamClosed());
  EXPECT_EQ(CassetteBytes(), before);
  form_.reset();

  WriteCassette(CassetteOfLength(kCapacity));
  Build(true);
  WatchForLimitWindow();
  Click("recButton");
  EXPECT_EQ(limitWindows_, 1);
  EXPECT_TRUE(form_->Capture().Recording());
}

TEST_F(GuardsTest, RecordIsRefusedOnAnInconsistentCassetteOrAShortDisk) {
  WriteCassette(MakeCassette(2 * kRate, {{1, 0, kRate, "a"}, {70000, kRate, 2 * kRate, "b"}}));
  Build(true);
  Click("recButton");
  EXPECT_TRUE(dialogs_.MessageTexts().value(0).startsWith(
      QStringLiteral("Kiv Sound Recorder detected inconsistency in one or more of the recorded messages.\r\n")));
  EXPECT_TRUE(dialogs_.MessageTexts().value(0).endsWith(
      QStringLiteral("Then right click on the ticker area and choose Delete All Messages option.")));
  form_.reset();
  ASSERT_TRUE(QFile::remove(CassettePath()));

  // 5.9 MiB free: the start margin is 6 MiB.
  freeSpace_.SetFreeMiB(5.9);
  freeSpace_.SetVolumeName(QStringLiteral("/media/tape"));
  Build(true);
  Click("recButton");
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(dialogs_.MessageTexts().last(), QStringLiteral("Not enough free space on /media/tape"));
  EXPECT_EQ(freeSpace_.AskedPaths().last(), CassettePath());
}

TEST_F(GuardsTest, RunningRecordingStopsAndKeepsItsMessageWhenTheDiskRunsShort) {
  Build(true);
  freeSpace_.SetVolumeName(QStringLiteral("/media/tape"));
  Click("recButton");
  CaptureBuffers(4);
  freeSpace_.SetFreeMiB(0.9);
  CaptureBuffers(1);
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(dialogs_.MessageTexts(), QStringList{QStringLiteral("Low Hard Disk Resources on /media/tape")});
  EXPECT_EQ(MessageLengthsOnDisk(), std::vector<uint32_t>{4 * 1024});
}

TEST_F(GuardsTest, RunningRecordingStopsAtTheCapacityWithTheLastWholeBuffer) {
  const uint32_t soundBefore = kCapacity - 2500 - 8 - 140;
  WriteCassette(CassetteOfLength(kCapacity - 2500));
  TKivRecForm& form = Build(true);
  WatchForLimitWindow();
  Click("recButton");
  CaptureBuffers(6);
  EXPECT_FALSE(form.Capture().Recording());
  EXPECT_EQ(limitWindows_, 1);
  // The new message's sound goes where the table was; a buffer is written only while the file
  // is still within the capacity, so the last one written is the one that crossed it.
  EXPECT_EQ(MessageLengthsOnDisk(), (std::vector<uint32_t>{soundBefore, 3u * 1024u}));
}

}  // namespace
}  // namespace kiv::test
