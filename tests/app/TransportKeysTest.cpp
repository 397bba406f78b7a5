// The tape keys on the real panel, offscreen, with the fake sound devices: what Record, Play,
// Pause and Stop do, the faces they leave (key pictures, tray icon and hint, menu items), the
// tray menu's deferred start, and the menus and ticker around a running tape. Which key acts in
// which state is the transport controller's table, tested on its own; here the keys must reach
// it and the panel must show the result.
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
  EXPECT_FALSE(form.Menus().Item(MenuItem::delMsg)->isEnabled());
  Click("recButton");  // nothing during a playback

  // Play again pauses, a third time resumes where the pause stopped.
  output_.Play(kRate);
  Click("playButton");
  EXPECT_EQ(TrayIconName(), QStringLiteral("pause.ico"));
  Click("PauseButton");
  Settle();
  EXPECT_FALSE(form.Playback().PlayPaused());
  EXPECT_EQ(form.cassette().Head().Position(), kRate);

  // Stop: the flash on the key, then idle once the buffer is back.
  Click("stopButton");
  EXPECT_TRUE(Shows("stopButton", "StopA.BMP"));
  EXPECT_TRUE(Timer("Timer7")->isActive());
  Settle();
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle1.ico"));
  EXPECT_EQ(Key("forwEButton")->toolTip(), QStringLiteral("Next Message"));
  EXPECT_TRUE(form.Menus().Item(MenuItem::delMsg)->isEnabled());
  form.Timer7Timer();
  EXPECT_TRUE(Shows("stopButton", "StopM.BMP"));
}

TEST_F(PanelTest, RecordPausesResumesAndStopsWithTheMessageSaved) {
  settings_.Write(settings::CustomText, QStringLiteral("Dentist at 4"));
  TKivRecForm& form = Build(true);  // blank cassette
  auto* ticker = Find<TMarquee>("mname");
  const QString custom = ticker->Text();

  Click("recButton");
  ASSERT_TRUE(form.Capture().Recording());
  EXPECT_TRUE(Shows("recButton", "RecA.BMP"));
  EXPECT_EQ(Text("message"), QStringLiteral("rec"));
  EXPECT_EQ(form.TrayIcon().Hint(), QStringLiteral("Recording"));
  EXPECT_EQ(TrayIconName(), QStringLiteral("record.ico"));
  EXPECT_EQ(form.Menus().Item(MenuItem::Record1)->text(), QStringLiteral("Stop Recording"));
  Click("playButton");  // nothing during a recording
  EXPECT_TRUE(output_.Calls().empty());
  ticker->SetText(QStringLiteral("something else"));
  form.mnameMouseMove();  // the pointer over the ticker stops it
  CaptureBuffers(22);  // 2.04 s
  EXPECT_EQ(Text("Count"), QStringLiteral("00:02"));

  // Record pauses and resumes; the paused hint counts what is on tape already.
  Click("recButton");
  EXPECT_TRUE(form.Capture().RecordPaused());
  EXPECT_EQ(TrayIconName(), QStringLiteral("pause.ico"));
  EXPECT_EQ(Find<QLabel>("message")->toolTip(), QStringLiteral("09':58\" left for recording"));
  CaptureBuffers(11);  // lost: the tape does not run
  Click("recButton");
  EXPECT_FALSE(form.Capture().RecordPaused());
  CaptureBuffers(11);

  Click("stopButton");
  EXPECT_FALSE(form.Capture().Recording());
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(Text("message"), QStringLiteral("1/1"));
  EXPECT_EQ(form.TrayIcon().Hint(), ApplicationTitle());
  EXPECT_TRUE(Shows("recButton", "RecM.bmp"));
  EXPECT_EQ(MessageLengthsOnDisk(), std::vector<uint32_t>{33u * 1024u});
  EXPECT_EQ(ticker->Text(), custom);
  EXPECT_TRUE(ticker->Active());

  // Closing the panel mid-recording ends the recording as Stop does: the message is kept.
  Click("recButton");
  CaptureBuffers(5);
  form.close();
  EXPECT_EQ(MessageLengthsOnDisk(), (std::vector<uint32_t>{33u * 1024u, 5u * 1024u}));
  EXPECT_FALSE(QFile::exists(data_ + QStringLiteral("kivrec.zf")));  // the recording's sidecar
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
  form.Timer4Timer();
  EXPECT_TRUE(form.Playback().Playing());

  form.PopupMenu1Popup();
  EXPECT_EQ(play->text(), QStringLiteral("Stop Message"));
  EXPECT_FALSE(record->isEnabled());
  play->trigger();  // "Stop Message" stops at once
  Settle();
  EXPECT_FALSE(form.Playback().Playing());

  form.PopupMenu1Popup();
  record->trigger();
  EXPECT_FALSE(form.Capture().Recording());
  // Waits the real second once: the timer itself must carry the action out.
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.Capture().Recording(); }, 5000));
  EXPECT_FALSE(form.Playback().Playing());
  form.PopupMenu1Popup();
  EXPECT_FALSE(play->isEnabled());
  EXPECT_EQ(record->text(), QStringLiteral("Stop Recording"));
  record->trigger();
  EXPECT_FALSE(form.Capture().Recording());
}

TEST_F(PanelTest, MenusAreShutWhileTheTapeRunsAndEverythingWhileAConversionHoldsIt) {
  TKivRecForm& form = BuildWithMessages();
  KivRecMenus& menus = form.Menus();
  // How many of the settings menu's and of the ticker menu's guarded items are open.
  auto itemsOpen = [&] {
    form.moreButtonMouseDown();
    menus.PopupMenu2->hide();
    form.mnameMouseDown(Qt::LeftButton);
    int open = 0;
    for (MenuItem item : {MenuItem::Settings2, MenuItem::AlwaysonTop1, MenuItem::delMsg,
                          MenuItem::DeleteCassette1, MenuItem::ListNotations1, MenuItem::EnterNote1}) {
      open += menus.Item(item)->isEnabled();
    }
    return open;
  };
  auto onTopToggles = [&] {
    const QString before = settings_.Stored(settings::OnTop);
    form.AlwaysonTop1Click();
    return settings_.Stored(settings::OnTop) != before;
  };
  EXPECT_EQ(itemsOpen(), 6);
  Click("playButton");
  EXPECT_EQ(itemsOpen(), 0);
  EXPECT_FALSE(onTopToggles());
  Click("playButton");  // paused is still playing
  ASSERT_TRUE(form.Playback().PlayPaused());
  EXPECT_EQ(itemsOpen(), 0);
  Click("stopButton");
  Settle();
  Click("recButton");
  ASSERT_TRUE(form.Capture().Recording());
  EXPECT_EQ(itemsOpen(), 0);
  EXPECT_FALSE(onTopToggles());
  Click("stopButton");
  EXPECT_EQ(itemsOpen(), 6);
  EXPECT_TRUE(onTopToggles());

  // An export or import: the settings key does not even open its menu, the tape keys do nothing.
  form.SetConversionBusy(true);
  form.moreButtonMouseDown();
  EXPECT_FALSE(menus.PopupMenu2->isVisible());
  form.mnameMouseDown(Qt::LeftButton);
  EXPECT_FALSE(menus.Item(MenuItem::EnterNote1)->isEnabled());
  EXPECT_FALSE(onTopToggles());
  Click("playButton");
  Click("recButton");
  Press("forwButton");
  EXPECT_FALSE(form.Playback().Playing());
  EXPECT_FALSE(form.Capture().Recording());
  EXPECT_FALSE(form.ForwardHeld());
}

TEST_F(PanelTest, ACassetteFoundDamagedAtRecordIsReplacedWithTheBackupNoticeOfOpen) {
  BuildWithMessages();
  const QByteArray damaged(5000, char(0x42));
  WriteCassette(damaged);
  Click("recButton");
  QFile backup(CassettePath() + QStringLiteral(".damaged"));
  ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
  EXPECT_EQ(backup.readAll(), damaged);
  EXPECT_EQ(dialogs_.MessageTexts().value(0),
            QStringLiteral("The cassette file was damaged and has been replaced by an empty cassette. "
                           "Its old contents were kept in:\r\n") + backup.fileName());
  EXPECT_EQ(Text("message"), QStringLiteral("0/0"));
}

}  // namespace
}  // namespace kiv::test
