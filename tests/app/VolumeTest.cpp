// The panel's volume on a scripted mixer: the lines it picks, the ramp of the held keys and its
// bounds, the split of the combined key, changes made elsewhere, the "Volume Controls" submenu
// and the Options dialog.
#include <QCheckBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSlider>

#include "AppTestSupport.h"
#include "app/TCGauge.h"
#include "app/TDDSettingsForm.h"

namespace kiv::test {
namespace {

using D = MixerDirection;

class VolumeTest : public PanelTest {
 protected:
  size_t AddVolume(const char* name, D direction, long value, long max = 65535) {
    MixerElement e{.name = name};
    (direction == D::Playback ? e.playbackVolume : e.captureVolume) = true;
    (direction == D::Playback ? e.playbackChannels : e.captureChannels) = 2;
    (direction == D::Playback ? e.playbackMax : e.captureMax) = max;
    return mixerBackend_->AddElement(e, value);
  }
  int Gauge() const { return Find<TCGauge>("CGauge1")->Progress(); }
  void PressVolume(int x) { QTest::mousePress(Key("volButton"), Qt::LeftButton, {}, QPoint(x, 3)); }
  void ReleaseVolume(int x) { QTest::mouseRelease(Key("volButton"), Qt::LeftButton, {}, QPoint(x, 3)); }
};

TEST_F(VolumeTest, HeldKeysRampThePlaybackLineWithinItsBoundsSplitAtTwentySeven) {
  const size_t master = AddVolume("Master", D::Playback, 64000);
  AddVolume("Capture", D::Capture, 7);
  AddVolume("Line", D::Capture, 1000);
  TKivRecForm& form = Build(true);
  // Without a wave line the destination itself is turned; without a microphone, connection 0.
  EXPECT_EQ(std::pair(form.WaveLine(), form.MicLine()), std::pair(-1, 0));
  EXPECT_EQ(std::pair(form.PlaybackVolume(), form.MicVolume()), std::pair(64000, 1000));
  EXPECT_EQ(Gauge(), 64000);

  PressVolume(27);
  EXPECT_TRUE(form.VolumeUpHeld() && Shows("volButton", "VolPA.bmp"));
  for (int tick = 0; tick < 2; ++tick) {
    form.Timer1Timer();
    EXPECT_EQ(mixerBackend_->Volume(master, D::Playback), std::pair(65535L, 65535L));
    EXPECT_EQ(std::pair(form.PlaybackVolume(), Gauge()), std::pair(65535, 65535));
  }
  ReleaseVolume(27);
  EXPECT_FALSE(form.VolumeUpHeld() || Timer("Timer1")->isActive());
  EXPECT_TRUE(Shows("volButton", "VolPMM.bmp"));

  // Set elsewhere: the gauge follows within the event loop's turn.
  mixerBackend_->ChangeFromOutside(master, D::Playback, 3000, 3000);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Gauge() == 3000; }, 1000));
  PressVolume(26);
  EXPECT_TRUE(form.VolumeDownHeld() && Shows("volButton", "VolMA.bmp"));
  form.Timer1Timer();
  EXPECT_EQ(mixerBackend_->Volume(master, D::Playback).first, 0);
  ReleaseVolume(26);
  QMouseEvent move(QEvent::MouseMove, QPointF(30, 3), QPointF(30, 3), Qt::NoButton, {}, {});
  QCoreApplication::sendEvent(Key("volButton"), &move);
  EXPECT_EQ(Key("volButton")->toolTip(), QStringLiteral(" Increase WaveOut Volume"));

  // The separate keys drive the same ramp, and rest while a conversion runs.
  Press("VolPlusButton");
  form.Timer1Timer();
  Release("VolPlusButton");
  EXPECT_EQ(form.PlaybackVolume(), 4000);
  form.SetConversionBusy(true);
  Press("VolMinusButton");
  QTest::keyPress(&form, Qt::Key_Up);
  EXPECT_FALSE(form.VolumeDownHeld() || form.VolumeUpHeld());
}

TEST_F(VolumeTest, WaveAndMicrophoneLinesByNameAndAnUnreadableLineKeepsTheGauge) {
  settings_.Write(settings::VolumeType, QStringLiteral("WaveOut"));
  AddVolume("Master", D::Playback, 100, 200);
  const size_t pcm = AddVolume("PCM", D::Playback, 31, 31);
  AddVolume("Capture", D::Capture, 0);
  AddVolume("Line", D::Capture, 0);
  const size_t mic = AddVolume("Mic", D::Capture, 20000);
  TKivRecForm& form = Build(true);
  EXPECT_EQ(std::tuple(form.WaveLine(), form.MicLine(), form.MicVolume()), std::tuple(0, 1, 20000));
  EXPECT_EQ(Gauge(), 65535);

  mixerBackend_->SetUnreadable(pcm, true);
  mixerBackend_->ChangeFromOutside(mic, D::Capture, 30000, 30000);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.MicVolume() == 30000; }, 1000));
  EXPECT_EQ(form.DDSettingsForm().MicVolSlider->value(), 30000);
  EXPECT_EQ(std::pair(form.PlaybackVolume(), Gauge()), std::pair(65535, 65535));
}

TEST_F(VolumeTest, WithoutAnyMixerTheKeysTurnNothingAndThePanelStillWorks) {
  mixerBackendOwned_ = std::make_unique<FakeMixerBackend>(0);
  mixerBackend_ = mixerBackendOwned_.get();
  TKivRecForm& form = Build(true);
  Press("VolPlusButton");
  form.Timer1Timer();
  EXPECT_EQ(std::pair(form.PlaybackVolume(), Gauge()), std::pair(-1, 0));
  EXPECT_EQ(mixerBackend_->Writes(), 0);
}

TEST_F(VolumeTest, VolumeControlsMenuIsRebuiltAtEveryOpeningAndStartsTheAskedView) {
  TKivRecForm& form = Build(true);
  form.OpenSettingsMenu(QPoint(0, 0));
  form.Menus().PopupMenu2->hide();
  form.OpenSettingsMenu(QPoint(0, 0));
  const QList<QAction*> items = form.Menus().Volumes1->actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0]->text() + items[1]->text(), QStringLiteral("PlaybackRecording"));
  items[1]->trigger();
  items[0]->trigger();
  EXPECT_EQ(launcher_.VolumeViews(), (std::vector{DesktopLauncher::VolumeView::Recording,
                                                  DesktopLauncher::VolumeView::Playback}));
}

TEST_F(VolumeTest, OptionsChangeVolumesAtOnceAndTheSwitchesOnOk) {
  const size_t master = AddVolume("Master", D::Playback, 500);
  const size_t capture = AddVolume("Capture", D::Capture, 1000);
  TKivRecForm& form = Build(true);
  int shown = 0;
  dialogs_.onModal = [&](QDialog& dialog) {
    auto& options = static_cast<TDDSettingsForm&>(dialog);
    EXPECT_EQ(options.MicVolSlider->value(), shown == 0 ? 1000 : 40000);
    options.MicVolSlider->setValue(40000);
    EXPECT_EQ(mixerBackend_->Volume(capture, D::Capture).first, 40000);
    options.MasterVolumeRB->click();
    EXPECT_EQ(form.Control(SkinControl::VolPlusButton)->toolTip(), QStringLiteral("Increase Master Volume"));
    options.AutoRunCB->click();
    EXPECT_EQ(settings_.AutostartOn(), options.AutoRunCB->isChecked());
    options.OpenDDForm->click();
    if (++shown == 2) QTest::keyRelease(&options, Qt::Key_O, Qt::AltModifier);
    return options.OptionsAccepted() ? int(QDialog::Accepted) : int(QDialog::Rejected);
  };
  form.Settings1Click();
  EXPECT_TRUE(form.Settings().showPanelAtStart);  // closed without Ok
  form.Settings1Click();
  EXPECT_FALSE(form.Settings().showPanelAtStart);
  EXPECT_EQ(settings_.Stored(settings::ShowPanelAtStart), QStringLiteral("OFF"));
  EXPECT_EQ(settings_.Stored(settings::VolumeType), QStringLiteral("Master"));
  EXPECT_EQ(mixerBackend_->Volume(master, D::Playback).first, 500);
  EXPECT_TRUE(form.SwallowNextKey());
}

TEST_F(VolumeTest, OptionsAreRefusedWhilePlaying) {
  TKivRecForm& form = BuildWithMessages();
  Click("playButton");
  ASSERT_TRUE(form.Playback().Playing());
  form.Menus().Item(MenuItem::Settings1)->trigger();
  form.Settings2Click();
  EXPECT_TRUE(dialogs_.Calls().empty());
}

}  // namespace
}  // namespace kiv::test
