// The tape keys on the real panel, offscreen, with the fake sound devices: what Record, Play,
// Pause and Stop do, the faces they leave (key pictures, tray icon and hint, menu items) and the
// tray menu's deferred start. Which key acts in which state is the transport controller's table,
// tested on its own; here the keys must reach it and the panel must show the result.
#include <QAction>

#include "AppTestSupport.h"

namespace kiv::test {
namespace {

TEST_F(PanelTest, PlayPausesResumesAndStops) {
  TKivRecForm& form = BuildWithMessages();
  // Pause and Stop do nothing while idle.
  Click("PauseButton");
  Click("stopButton");
  EXPECT_TRUE(output_.Calls().empty());

  Click("playButton");
  ASSERT_TRUE(form.Playback().Playing());
  EXPECT_EQ(output_.Calls().front(), "Open(11025)");
  EXPECT_TRUE(Shows("playButton", "PlayA.BMP"));
  EXPECT_EQ(TrayIconName(), QStringLiteral("play.ico"));
  EXPECT_EQ(Key("forwEButton")->toolTip(), QStringLiteral("Fast Play"));
  EXPECT_FALSE(form.Menus().Item(MenuItem::delMsg)->isEnabled());
  Click("recButton");  // nothing during a playback
  EXPECT_FALSE(input_.IsOpen());

  // Play again pauses, a third time resumes where the pause stopped.
  output_.Play(kRate);
  Click("playButton");
  EXPECT_TRUE(output_.IsPaused());
  EXPECT_TRUE(Shows("PauseButton", "PauseA.BMP"));
  EXPECT_EQ(TrayIconName(), QStringLiteral("pause.ico"));
  Click("PauseButton");
  Settle();
  EXPECT_FALSE(form.Playback().PlayPaused());
  EXPECT_TRUE(Shows("PauseButton", "PauseM.BMP"));
  EXPECT_EQ(form.cassette().Head().Position(), kRate);

  // Stop: the flash on the key, then idle once the buffer is back.
  Click("stopButton");
  EXPECT_TRUE(Shows("stopButton", "StopA.BMP"));
  EXPECT_TRUE(Timer("Timer7")->isActive());
  Settle();
  EXPECT_FALSE(form.Playback().Playing());
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle1.ico"));
  EXPECT_TRUE(Shows("playButton", "PlayM.bmp"));
  EXPECT_EQ(Key("forwEButton")->toolTip(), QStringLiteral("Next Message"));
  EXPECT_TRUE(form.Menus().Item(MenuItem::delMsg)->isEnabled());
  EXPECT_FALSE(output_.IsOpen());
  form.Timer7Timer();
  EXPECT_TRUE(Shows("stopButton", "StopM.BMP"));
}

TEST_F(PanelTest, RecordPausesResumesAndStopsWithTheMessageSaved) {
  TKivRecForm& form = Build();  // blank cassette
  form.show();
  Click("playButton");
  EXPECT_TRUE(output_.Calls().empty());

  Click("recButton");
  ASSERT_TRUE(form.Capture().Recording());
  EXPECT_TRUE(Shows("recButton", "RecA.BMP"));
  EXPECT_EQ(Text("message"), QStringLiteral("rec"));
  EXPECT_EQ(form.TrayIcon().Hint(), QStringLiteral("Recording"));
  EXPECT_EQ(TrayIconName(), QStringLiteral("record.ico"));
  EXPECT_EQ(form.Menus().Item(MenuItem::Record1)->text(), QStringLiteral("Stop Recording"));
  EXPECT_TRUE(Find<QLabel>("message")->toolTip().isEmpty());
  Click("playButton");  // nothing during a recording
  EXPECT_TRUE(output_.Calls().empty());
  CaptureBuffers(22);  // 2.04 s
  EXPECT_EQ(Text("Count"), QStringLiteral("00:02"));

  // Record pauses and resumes; the paused hint counts what is on tape already.
  Click("recButton");
  EXPECT_TRUE(form.Capture().RecordPaused());
  EXPECT_EQ(TrayIconName(), QStringLiteral("pause.ico"));
  EXPECT_EQ(Find<QLabel>("message")->toolTip(), QStringLiteral("09':58\" left for recording"));
  CaptureBuffers(11);  // lost: the tape does not run
  Click("recButton");
  EXPECT_EQ(TrayIconName(), QStringLiteral("record.ico"));
  CaptureBuffers(11);

  Click("stopButton");
  EXPECT_FALSE(form.Capture().Recording());
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(Text("message"), QStringLiteral("1/1"));
  EXPECT_EQ(Text("Count"), QStringLiteral("00:03 / 00:00"));
  EXPECT_EQ(form.TrayIcon().Hint(), ApplicationTitle());
  EXPECT_TRUE(Shows("recButton", "RecM.bmp"));
  EXPECT_EQ(form.Menus().Item(MenuItem::Record1)->text(), QStringLiteral("Start Recording"));
  EXPECT_EQ(MessageLengthsOnDisk(), std::vector<uint32_t>{33u * 1024u});
}

TEST_F(PanelTest, ClosingThePanelDuringARecordingKeepsTheMessage) {
  Build().show();
  Click("recButton");
  CaptureBuffers(11);
  form_->close();
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(MessageLengthsOnDisk(), std::vector<uint32_t>{11u * 1024u});
}

TEST_F(PanelTest, TrayMenuStartsOneSecondLaterAndNamesWhatRuns) {
  TKivRecForm& form = BuildWithMessages();
  QAction* play = form.Menus().Item(MenuItem::Play1);
  QAction* record = form.Menus().Item(MenuItem::Record1);
  form.PopupMenu1Popup();
  play->trigger();
  // Deferred: the menu closes before the tape starts.
  EXPECT_FALSE(form.Playback().Playing());
  EXPECT_EQ(Timer("Timer4")->interval(), 1000);
  EXPECT_TRUE(Timer("Timer4")->isSingleShot());
  form.Timer4Timer();
  EXPECT_TRUE(form.Playback().Playing());

  form.PopupMenu1Popup();
  EXPECT_EQ(play->text(), QStringLiteral("Stop Message"));
  EXPECT_FALSE(record->isEnabled());
  EXPECT_FALSE(form.Menus().Item(MenuItem::AlwaysonTop2)->isEnabled());
  play->trigger();  // "Stop Message" stops at once
  Settle();
  EXPECT_FALSE(form.Playback().Playing());

  form.PopupMenu1Popup();
  record->trigger();
  EXPECT_FALSE(form.Capture().Recording());
  // Waits the real second once: the timer itself must carry the action out.
  QTRY_VERIFY_WITH_TIMEOUT(form.Capture().Recording(), 5000);
  EXPECT_FALSE(form.Playback().Playing());
  form.PopupMenu1Popup();
  EXPECT_FALSE(play->isEnabled());
  EXPECT_EQ(record->text(), QStringLiteral("Stop Recording"));
  record->trigger();
  EXPECT_FALSE(form.Capture().Recording());
}

TEST_F(PanelTest, ConversionBusyIgnoresEveryTapeKey) {
  TKivRecForm& form = BuildWithMessages();
  form.SetConversionBusy(true);
  Click("playButton");
  Click("recButton");
  Press("forwButton");
  EXPECT_FALSE(form.Playback().Playing());
  EXPECT_FALSE(form.Capture().Recording());
  EXPECT_FALSE(form.ForwardHeld());
  EXPECT_TRUE(output_.Calls().empty());
}

}  // namespace
}  // namespace kiv::test
