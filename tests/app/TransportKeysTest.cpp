// The tape keys on the real panel, offscreen, with the fake sound devices: what Record, Play,
// Pause and Stop do in each state, the faces they leave (key pictures, tray icon and hint,
// wheels, menu items) and the tray menu's deferred start.
#include <QAction>
#include <QLabel>

#include "TransportTestSupport.h"

namespace kiv::test {
namespace {

TEST_F(TransportTest, PlayPausesResumesAndStopsAtNormalSpeed) {
  TKivRecForm& form = BuildWithMessages();
  form.show();
  EXPECT_EQ(form.Availability()[PanelControl::Play], Availability::Available);
  EXPECT_EQ(form.Availability()[PanelControl::Pause], Availability::Unavailable);

  // Pause and Stop do nothing while idle; Stop only refreshes the hint.
  Click("PauseButton");
  Click("stopButton");
  EXPECT_TRUE(output_.Calls().empty());
  EXPECT_EQ(Find<QLabel>("message")->toolTip(), QStringLiteral("09':22\" left for recording"));

  Click("playButton");
  ASSERT_TRUE(form.Playback().Playing());
  EXPECT_EQ(output_.Calls().front(), "Open(11025)");
  EXPECT_TRUE(Shows("playButton", "PlayA.BMP"));
  EXPECT_TRUE(Shows("PauseButton", "PauseM.BMP"));
  EXPECT_EQ(TrayIconName(), QStringLiteral("play.ico"));
  EXPECT_EQ(Key("rewSButton")->toolTip(), QStringLiteral("Slow Play"));
  EXPECT_EQ(Key("forwEButton")->toolTip(), QStringLiteral("Fast Play"));
  EXPECT_EQ(form.Availability()[PanelControl::Play], Availability::Running);
  EXPECT_EQ(form.Availability()[PanelControl::Record], Availability::Unavailable);
  EXPECT_FALSE(form.Menus().Item(MenuItem::delMsg)->isEnabled());

  // Record during a playback does nothing.
  Click("recButton");
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_FALSE(form.Capture().Recording());

  // Play again pauses, a third time resumes.
  output_.Play(11025);
  Click("playButton");
  EXPECT_TRUE(form.Playback().PlayPaused());
  EXPECT_TRUE(output_.IsPaused());
  EXPECT_TRUE(Shows("PauseButton", "PauseA.BMP"));
  EXPECT_EQ(TrayIconName(), QStringLiteral("pause.ico"));
  Click("playButton");
  Settle();
  EXPECT_FALSE(form.Playback().PlayPaused());
  EXPECT_TRUE(form.Playback().Playing());
  EXPECT_TRUE(Shows("PauseButton", "PauseM.BMP"));
  EXPECT_EQ(TrayIconName(), QStringLiteral("play.ico"));
  // The resumed segment starts at the byte the pause stopped at.
  EXPECT_EQ(form.cassette().Head().Position(), 11025u);

  // Stop: the flash on the key, then idle once the buffer is back.
  Click("stopButton");
  EXPECT_TRUE(Shows("stopButton", "StopA.BMP"));
  EXPECT_TRUE(Timer("Timer7")->isActive());
  Settle();
  EXPECT_FALSE(form.Playback().Playing());
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle1.ico"));
  EXPECT_TRUE(Shows("playButton", "PlayM.bmp"));
  EXPECT_EQ(Key("rewSButton")->toolTip(), QStringLiteral("Previous Message"));
  EXPECT_EQ(Key("forwEButton")->toolTip(), QStringLiteral("Next Message"));
  EXPECT_EQ(form.Availability()[PanelControl::Play], Availability::Available);
  EXPECT_TRUE(form.Menus().Item(MenuItem::delMsg)->isEnabled());
  EXPECT_FALSE(output_.IsOpen());
  form.Timer7Timer();
  EXPECT_TRUE(Shows("stopButton", "StopM.BMP"));
}

TEST_F(TransportTest, RecordPausesResumesAndStopsWithTheMessageSaved) {
  TKivRecForm& form = Build();  // blank cassette
  form.show();
  EXPECT_EQ(form.Availability()[PanelControl::Play], Availability::Unavailable);
  Click("playButton");
  EXPECT_TRUE(output_.Calls().empty());

  Click("recButton");
  ASSERT_TRUE(form.Capture().Recording());
  EXPECT_TRUE(Shows("recButton", "RecA.BMP"));
  EXPECT_EQ(Find<QLabel>("message")->text(), QStringLiteral("rec"));
  EXPECT_EQ(form.TrayIcon().Hint(), QStringLiteral("Recording"));
  EXPECT_EQ(TrayIconName(), QStringLiteral("record.ico"));
  EXPECT_EQ(form.Menus().Item(MenuItem::Record1)->text(), QStringLiteral("Stop Recording"));
  EXPECT_EQ(form.Availability()[PanelControl::Record], Availability::Running);
  EXPECT_EQ(form.Availability()[PanelControl::Forward], Availability::Unavailable);
  // No remaining time while the tape runs.
  EXPECT_TRUE(Find<QLabel>("message")->toolTip().isEmpty());

  CaptureBuffers(22);  // 2.04 s
  EXPECT_EQ(Find<QLabel>("Count")->text(), QStringLiteral("00:02"));

  // Record pauses and resumes; the paused hint counts what is on tape already.
  Click("recButton");
  EXPECT_TRUE(form.Capture().RecordPaused());
  EXPECT_EQ(TrayIconName(), QStringLiteral("pause.ico"));
  EXPECT_TRUE(Shows("PauseButton", "PauseA.BMP"));
  EXPECT_EQ(Find<QLabel>("message")->toolTip(), QStringLiteral("09':58\" left for recording"));
  CaptureBuffers(11);  // lost: the tape does not run
  Click("recButton");
  EXPECT_FALSE(form.Capture().RecordPaused());
  EXPECT_EQ(TrayIconName(), QStringLiteral("record.ico"));
  CaptureBuffers(11);

  Click("stopButton");
  EXPECT_FALSE(form.Capture().Recording());
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(Find<QLabel>("message")->text(), QStringLiteral("1/1"));
  EXPECT_EQ(Find<QLabel>("Count")->text(), QStringLiteral("00:03 / 00:00"));
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle1.ico"));
  EXPECT_EQ(form.TrayIcon().Hint(), ApplicationTitle());
  EXPECT_TRUE(Shows("recButton", "RecM.bmp"));
  EXPECT_EQ(form.Menus().Item(MenuItem::Record1)->text(), QStringLiteral("Start Recording"));
  EXPECT_EQ(form.Availability()[PanelControl::Play], Availability::Available);
  EXPECT_EQ(form.Availability()[PanelControl::Pause], Availability::Unavailable);

  EXPECT_EQ(MessageLengthsOnDisk(), std::vector<uint32_t>{33u * 1024u});
}

TEST_F(TransportTest, ClosingThePanelDuringARecordingKeepsTheMessage) {
  TKivRecForm& form = Build();
  form.show();
  Click("recButton");
  CaptureBuffers(11);
  form.close();
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(MessageLengthsOnDisk(), std::vector<uint32_t>{11u * 1024u});
}

TEST_F(TransportTest, TrayMenuStartsOneSecondLaterAndNamesWhatRuns) {
  TKivRecForm& form = BuildWithMessages();
  KivRecMenus& menus = form.Menus();
  QAction* play = menus.Item(MenuItem::Play1);
  QAction* record = menus.Item(MenuItem::Record1);

  form.PopupMenu1Popup();
  EXPECT_EQ(play->text(), QStringLiteral("Play Message"));
  play->trigger();
  // Deferred: the menu closes before the tape starts.
  EXPECT_FALSE(form.Playback().Playing());
  ASSERT_TRUE(Timer("Timer4")->isActive());
  EXPECT_EQ(Timer("Timer4")->interval(), 1000);
  EXPECT_TRUE(Timer("Timer4")->isSingleShot());
  EXPECT_EQ(form.DeferredAction(), 2);
  form.Timer4Timer();
  EXPECT_TRUE(form.Playback().Playing());

  form.PopupMenu1Popup();
  EXPECT_EQ(play->text(), QStringLiteral("Stop Message"));
  EXPECT_FALSE(record->isEnabled());
  EXPECT_FALSE(menus.Item(MenuItem::Settings1)->isEnabled());
  EXPECT_FALSE(menus.Item(MenuItem::AlwaysonTop2)->isEnabled());
  play->trigger();  // "Stop Message" stops at once
  Settle();
  EXPECT_FALSE(form.Playback().Playing());

  form.PopupMenu1Popup();
  EXPECT_TRUE(record->isEnabled());
  record->trigger();
  EXPECT_FALSE(form.Capture().Recording());
  EXPECT_EQ(form.DeferredAction(), 1);
  // Waits the real second once: the timer itself must carry the action out.
  QTRY_VERIFY_WITH_TIMEOUT(form.Capture().Recording(), 5000);

  form.PopupMenu1Popup();
  EXPECT_EQ(play->text(), QStringLiteral("Play Message"));
  EXPECT_FALSE(play->isEnabled());
  EXPECT_TRUE(record->isEnabled());
  EXPECT_EQ(record->text(), QStringLiteral("Stop Recording"));
  record->trigger();
  EXPECT_FALSE(form.Capture().Recording());
}

TEST_F(TransportTest, ConversionBusyIgnoresEveryTapeKey) {
  TKivRecForm& form = BuildWithMessages();
  form.show();
  form.SetConversionBusy(true);
  Click("playButton");
  Click("recButton");
  Press("forwButton");
  EXPECT_FALSE(form.Playback().Playing());
  EXPECT_FALSE(form.Capture().Recording());
  EXPECT_FALSE(form.ForwardHeld());
  EXPECT_TRUE(output_.Calls().empty());
}

enum class Tape { Idle, Playing, PlayPaused, SlowFastPlaying, Recording, RecordPaused };

const char* NameOf(Tape tape) {
  static const char* const names[] = {"Idle", "Playing", "PlayPaused", "SlowFastPlaying",
                                      "Recording", "RecordPaused"};
  return names[int(tape)];
}

class KeyTableTest : public TransportTest {
 protected:
  Tape StateOf(TKivRecForm& form) const {
    if (form.Capture().Recording()) {
      return form.Capture().RecordPaused() ? Tape::RecordPaused : Tape::Recording;
    }
    if (!form.Playback().Playing()) return Tape::Idle;
    if (form.Playback().PlayPaused()) return Tape::PlayPaused;
    return form.cassette().Head().PlayRate() == form.cassette().BaseRate() ? Tape::Playing
                                                                  : Tape::SlowFastPlaying;
  }

  // A fresh panel on the three-message cassette, brought into `tape` with its own keys.
  TKivRecForm& PanelIn(Tape tape) {
    form_.reset();
    // The buffer the old panel's device handed back at its end goes nowhere.
    Settle();
    TKivRecForm& form = BuildWithMessages();
    form.show();
    switch (tape) {
      case Tape::Idle:
        break;
      case Tape::Playing:
        Click("playButton");
        break;
      case Tape::PlayPaused:
        Click("playButton");
        Click("PauseButton");
        break;
      case Tape::SlowFastPlaying:
        Click("playButton");
        Press("forwEButton");
        Release("forwEButton");
        break;
      case Tape::Recording:
        Click("recButton");
        break;
      case Tape::RecordPaused:
        Click("recButton");
        Click("PauseButton");
        break;
    }
    Settle();
    return form;
  }
};

TEST_F(KeyTableTest, EveryKeyInEveryState) {
  using enum Tape;
  const std::vector<Tape> states = {Idle, Playing, PlayPaused, SlowFastPlaying, Recording, RecordPaused};
  struct Row {
    const char* key;
    std::vector<Tape> after;  // in the order of `states`
  };
  const Row rows[] = {
      {"playButton", {Playing, PlayPaused, Playing, Playing, Recording, RecordPaused}},
      {"PauseButton", {Idle, PlayPaused, Playing, PlayPaused, RecordPaused, Recording}},
      {"stopButton", {Idle, Idle, Idle, Idle, Idle, Idle}},
      {"recButton", {Recording, Playing, PlayPaused, SlowFastPlaying, RecordPaused, Recording}},
  };
  for (const Row& row : rows) {
    for (size_t i = 0; i < states.size(); ++i) {
      SCOPED_TRACE(std::string(row.key) + " in " + NameOf(states[i]));
      TKivRecForm& form = PanelIn(states[i]);
      ASSERT_EQ(NameOf(StateOf(form)), std::string(NameOf(states[i])));
      Click(row.key);
      Settle();
      EXPECT_EQ(NameOf(StateOf(form)), std::string(NameOf(row.after[i])));
      // Whatever the key did, the paused and resumed sound continues at normal speed.
      if (StateOf(form) == Playing) {
        EXPECT_EQ(output_.Rate(), kRate);
      }
    }
  }
}

}  // namespace
}  // namespace kiv::test
