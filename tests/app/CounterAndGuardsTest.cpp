// The counter's time positioner and the recording guards on the real panel: where the positioner
// puts the play head, when it does not open, and how Record is refused or a recording stopped
// when the cassette is full, inconsistent or the disk runs short.
#include <QLabel>

#include "TransportTestSupport.h"
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

class GuardsTest : public TransportTest {
 protected:
  void ClickCounter() { QTest::mouseClick(Find<QLabel>("Count"), Qt::LeftButton); }
  // Counts the limit windows and answers them as the user would, with Close.
  void WatchForLimitWindow() {
    dialogs_.onModal = [this](QDialog& dialog) {
      auto* limit = qobject_cast<TLimitForm*>(&dialog);
      EXPECT_NE(limit, nullptr) << "only the limit window is expected";
      if (limit) ++limitWindows_;
      dialog.reject();
      return dialog.result();
    };
  }
  int limitWindows_ = 0;
};

TEST_F(GuardsTest, TimePositionerMovesThePlayHeadToWhereTheBarIsClicked) {
  TKivRecForm& form = BuildWithMessages();
  form.show();
  form.NextMessage();
  form.NextMessage();  // 30 seconds
  Cassette& tape = form.cassette();
  const uint32_t start = tape.MessageStart();
  tape.Head().SeekTo(15 * kRate);

  int opened = 0;
  bool moveableWhileOpen = true;
  dialogs_.onModal = [&](QDialog& dialog) {
    auto& etp = dynamic_cast<TETPForm&>(dialog);
    ++opened;
    moveableWhileOpen = Find<TBMShapedForm>("ZvSkin1")->Moveable();
    EXPECT_EQ(etp.Maximum(), 30 * kRate);
    EXPECT_EQ(etp.Progress(), 15 * kRate);
    // A press at the left edge is the start; at the middle, half of the message.
    QTest::mousePress(etp.Label1, Qt::LeftButton, Qt::NoModifier, QPoint(0, 5));
    EXPECT_EQ(tape.Head().Position(), start);
    EXPECT_EQ(Find<QLabel>("Count")->text(), QStringLiteral("00:30 / 00:00"));
    const int middle = etp.ETP->width() / 2;
    QTest::mouseMove(etp.Label1, QPoint(middle, 5));
    EXPECT_EQ(tape.Head().Position(), start + uint32_t(uint64_t(30 * kRate) * middle / etp.ETP->width()));
    EXPECT_EQ(etp.Label1->text(), QStringLiteral("50% ( 00:15)"));
    QTest::mouseRelease(etp.Label1, Qt::LeftButton, Qt::NoModifier, QPoint(middle, 5));
    return dialog.result();
  };
  ClickCounter();
  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(moveableWhileOpen);
  EXPECT_TRUE(Timer("MoveableTimer")->isActive());
  EXPECT_EQ(Find<QLabel>("Count")->text(), QStringLiteral("00:30 / 00:15"));
}

TEST_F(GuardsTest, TimePositionerResumesAPausedPlaybackAndStaysShutDuringFastPlay) {
  TKivRecForm& form = BuildWithMessages();
  form.show();
  Cassette& tape = form.cassette();
  int opened = 0;
  dialogs_.onModal = [&](QDialog& dialog) {
    auto& etp = dynamic_cast<TETPForm&>(dialog);
    ++opened;
    QTest::mousePress(etp.Label1, Qt::LeftButton, Qt::NoModifier, QPoint(etp.ETP->width() / 3, 5));
    QTest::mouseRelease(etp.Label1, Qt::LeftButton, Qt::NoModifier, QPoint(etp.ETP->width() / 3, 5));
    return dialog.result();
  };

  Click("playButton");
  Press("forwEButton");
  Release("forwEButton");
  ClickCounter();
  EXPECT_EQ(opened, 0) << "no positioning during fast play";

  Click("playButton");  // back to normal speed
  Settle();
  Click("PauseButton");
  ASSERT_TRUE(form.Playback().PlayPaused());
  ClickCounter();
  EXPECT_EQ(opened, 1);
  Settle();
  EXPECT_FALSE(form.Playback().PlayPaused());
  EXPECT_TRUE(form.Playback().Playing());
  EXPECT_EQ(TrayIconName(), QStringLiteral("play.ico"));
  EXPECT_EQ(tape.Head().Position(), tape.MessageStart() + kRate);  // a third of 3 s
  EXPECT_EQ(output_.Rate(), kRate);

  // Nothing to position while recording.
  Click("stopButton");
  Settle();
  Click("recButton");
  ClickCounter();
  EXPECT_EQ(opened, 1);
  Click("stopButton");
}

TEST_F(GuardsTest, RecordStartsUpToTheCapacityAndRefusesBeyondWithTheLimitWindow) {
  WriteCassette(CassetteOfLength(kCapacity + 1));
  TKivRecForm& form = Build();
  form.show();
  WatchForLimitWindow();
  const QByteArray before = CassetteBytes();
  Click("recButton");
  EXPECT_EQ(limitWindows_, 1);
  EXPECT_EQ(sounds_.Played(), QStringList{program_ + QStringLiteral("limit.wav")});
  EXPECT_FALSE(form.Capture().Recording());
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_TRUE(form.cassette().CassetteStreamClosed());
  EXPECT_EQ(CassetteBytes(), before);
  EXPECT_EQ(Find<QLabel>("message")->toolTip(), QStringLiteral("00':01\" left for recording"));
  form.close();
  form_.reset();

  WriteCassette(CassetteOfLength(kCapacity));
  TKivRecForm& full = Build();
  full.show();
  WatchForLimitWindow();
  Click("recButton");
  EXPECT_EQ(limitWindows_, 1);
  EXPECT_TRUE(full.Capture().Recording());
  Click("stopButton");
}

TEST_F(GuardsTest, RecordIsRefusedOnAnInconsistentCassetteOrAShortDisk) {
  WriteCassette(MakeCassette(2 * kRate, {{1, 0, kRate, "a"}, {70000, kRate, 2 * kRate, "b"}}));
  TKivRecForm& form = Build();
  form.show();
  Click("recButton");
  EXPECT_FALSE(form.Capture().Recording());
  ASSERT_FALSE(dialogs_.MessageTexts().isEmpty());
  EXPECT_TRUE(dialogs_.MessageTexts().last().startsWith(
      QStringLiteral("Kiv Sound Recorder detected inconsistency in one or more of the recorded messages.\r\n")));
  EXPECT_TRUE(dialogs_.MessageTexts().last().endsWith(
      QStringLiteral("Then right click on the ticker area and choose Delete All Messages option.")));
  form.close();
  form_.reset();
  ASSERT_TRUE(QFile::remove(CassettePath()));
  dialogs_.ClearCalls();

  // 5.9 MiB free: the start margin is 6 MiB.
  freeSpace_.SetFreeMiB(5.9);
  freeSpace_.SetVolumeName(QStringLiteral("/media/tape"));
  TKivRecForm& blank = Build();
  blank.show();
  Click("recButton");
  EXPECT_FALSE(blank.Capture().Recording());
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(dialogs_.MessageTexts().last(), QStringLiteral("Not enough free space on /media/tape"));
  EXPECT_EQ(Find<QLabel>("message")->toolTip(), QStringLiteral("10':00\" left for recording"));
  EXPECT_EQ(freeSpace_.AskedPaths().last(), CassettePath());
}

TEST_F(GuardsTest, RunningRecordingStopsAndKeepsItsMessageWhenTheDiskRunsShort) {
  TKivRecForm& form = Build();
  form.show();
  freeSpace_.SetVolumeName(QStringLiteral("/media/tape"));
  Click("recButton");
  CaptureBuffers(4);
  freeSpace_.SetFreeMiB(0.9);
  CaptureBuffers(1);
  EXPECT_FALSE(form.Capture().Recording());
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(dialogs_.MessageTexts(), QStringList{QStringLiteral("Low Hard Disk Resources on /media/tape")});
  EXPECT_EQ(MessageLengthsOnDisk(), std::vector<uint32_t>{4 * 1024});
  EXPECT_EQ(Find<QLabel>("message")->text(), QStringLiteral("1/1"));
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle1.ico"));
}

TEST_F(GuardsTest, RunningRecordingStopsAtTheCapacityWithTheLastWholeBuffer) {
  const uint32_t fileLength = kCapacity - 2500;
  WriteCassette(CassetteOfLength(fileLength));
  TKivRecForm& form = Build();
  form.show();
  WatchForLimitWindow();
  const uint32_t soundBefore = fileLength - 8 - 140;
  Click("recButton");
  ASSERT_TRUE(form.Capture().Recording());
  CaptureBuffers(6);
  EXPECT_FALSE(form.Capture().Recording());
  EXPECT_EQ(limitWindows_, 1);
  EXPECT_EQ(sounds_.Played().size(), 1);
  // The sound of the new message goes where the table was; a buffer is written only while the
  // file is still within the capacity, so the last one written is the one that crossed it.
  const std::vector<uint32_t> lengths = MessageLengthsOnDisk();
  ASSERT_EQ(lengths.size(), 2u);
  const uint32_t recorded = lengths[1];
  EXPECT_EQ(recorded % 1024, 0u);
  EXPECT_LE(soundBefore + recorded - 1024, kCapacity);
  EXPECT_GT(soundBefore + recorded, kCapacity);
}

TEST_F(GuardsTest, RemainingTimeCountsTheMessagesOnTape) {
  // Two minutes and fifteen seconds at 11025 Hz.
  WriteCassette(MakeCassette(1488375, {{1, 0, 1488375, "255%05.12.2026|65280%09:00:00"}}));
  Build();
  EXPECT_EQ(Find<QLabel>("message")->toolTip(), QStringLiteral("07':45\" left for recording"));
}

}  // namespace
}  // namespace kiv::test
