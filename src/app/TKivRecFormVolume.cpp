// The panel's volume: the lines it turns on the system's mixer, the volume keys with their
// hold-to-ramp, the gauge, changes made in other programs, the "Volume Controls" submenu and the
// Options dialog. The mixer decides what a line is; the panel only reads and sets volumes.
#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>

#include "app/TCGauge.h"
#include "app/TDDSettingsForm.h"
#include "app/TImageControl.h"
#include "app/TKivRecForm.h"
#include "audio/CaptureEngine.h"
#include "audio/GraphicAnalyser.h"
#include "mailweb/TGoToWeb.h"
#include "mailweb/WebAddresses.h"
#include "mixer/TAudioMixer.h"
#include "platform/DesktopLauncher.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"

namespace kiv {
namespace {

constexpr int kVolumeSplit = 27;  // the combined key lowers left of this, raises from it on
constexpr int kVolumeStep = 4000;

// The combined volume key needs to know where on it the mouse is, which its click signals do
// not say; this watches its mouse events and lets them go on.
class MousePlaceWatcher final : public QObject {
 public:
  using Handler = std::function<void(QEvent::Type, int x)>;
  MousePlaceWatcher(QWidget* watched, Handler handler) : handler_(std::move(handler)) {
    watched->setMouseTracking(true);
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
        type == QEvent::MouseMove) {
      handler_(type, int(static_cast<QMouseEvent*>(event)->position().x()));
    }
    return false;
  }

 private:
  Handler handler_;
};

}  // namespace

void TKivRecForm::WireVolume() {
  if (services_.mixer) {
    Mixer_ = services_.mixer;
  } else {
    ownMixer_ = std::make_unique<TAudioMixer>(nullptr);
    Mixer_ = ownMixer_.get();
  }
  connect(Mixer_, &TAudioMixer::OnControlChange, this, [this] { MixerControlChange(); });

  DDSettingsForm_ = std::make_unique<TDDSettingsForm>(this);
  connect(DDSettingsForm_.get(), &TDDSettingsForm::MicVolSliderChange, this,
          [this](int position) { MicVolSliderChange(position); });
  connect(DDSettingsForm_.get(), &TDDSettingsForm::MasterVolumeRBClick, this,
          [this] { MasterVolumeRBClick(); });
  connect(DDSettingsForm_.get(), &TDDSettingsForm::AutoRunCBClick, this, [this](bool checked) {
    settings_.autoRunOn = checked;
    services_.settings->SetAutostart(checked, services_.programPath);
  });
  connect(DDSettingsForm_.get(), &TDDSettingsForm::HomeRequested, this, [this] {
    GoToWeb1->Url = HomePage();
    GoToWeb1->Execute();
  });
  connect(DDSettingsForm_.get(), &TDDSettingsForm::HelpRequested, this, [this] { OpenHelp(); });
  connect(menus_->Item(MenuItem::Settings1), &QAction::triggered, this, [this] { Settings1Click(); });
  connect(menus_->Item(MenuItem::Settings2), &QAction::triggered, this, [this] { Settings2Click(); });

  volButtonWatcher_ = std::make_unique<MousePlaceWatcher>(
      controls_.at(SkinControl::volButton), [this](QEvent::Type type, int x) {
        if (type == QEvent::MouseButtonPress) {
          volButtonMouseDown(x);
        } else if (type == QEvent::MouseButtonRelease) {
          volButtonMouseUp(x);
        } else {
          volButtonMouseMove(x);
        }
      });
  auto* plus = static_cast<TImageControl*>(controls_.at(SkinControl::VolPlusButton));
  auto* minus = static_cast<TImageControl*>(controls_.at(SkinControl::VolMinusButton));
  connect(plus, &TImageControl::MousePressed, this, [this] { VolPlusButtonMouseDown(); });
  connect(plus, &TImageControl::MouseReleased, this, [this] { VolPlusButtonMouseUp(); });
  connect(minus, &TImageControl::MousePressed, this, [this] { VolMinusButtonMouseDown(); });
  connect(minus, &TImageControl::MouseReleased, this, [this] { VolMinusButtonMouseUp(); });
}

bool TKivRecForm::ReadLeft(int destination, int connection, int& left) {
  bool muted = false;
  int l = -1, right, mute, kind;
  bool stereo, volumeDisabled, muteDisabled;
  // The mute is read for the mixer's sake alone: a muted line still shows its volume.
  (void)Mixer_->GetMute(destination, connection, muted);
  if (!Mixer_->GetVolume(destination, connection, l, right, mute, stereo, volumeDisabled,
                         muteDisabled, kind) ||
      l == -1) {
    return false;
  }
  left = l;
  return true;
}

void TKivRecForm::FindMixerLines() {
  MasterLine_ = WaveLine_ = MicLine_ = -1;
  for (int destination : {0, 1}) {
    const int connections = Mixer_->ConnectionCount(destination);
    for (int connection = 0; connection < connections; ++connection) {
      const QString name = Mixer_->LineName(destination, connection).toUpper();
      if (name.isEmpty()) break;
      if (destination == 0 && WaveLine_ == -1 && name.contains(QStringLiteral("WAVE"))) {
        WaveLine_ = connection;
      }
      if (destination == 1 && MicLine_ == -1 && name.contains(QStringLiteral("MIC"))) {
        MicLine_ = connection;
      }
    }
  }
  if (MicLine_ == -1) MicLine_ = 0;

  playbackVolume_ = micVolume_ = -1;
  (void)ReadLeft(0, PlaybackLine(), playbackVolume_);
  CGauge1->SetRange(0, 65535);
  CGauge1->SetProgress(std::max(playbackVolume_, 0));
  (void)ReadLeft(1, MicLine_, micVolume_);
  ShowVolumeHints();
}

void TKivRecForm::ShowVolumeHints() {
  const QString volume = settings_.useMasterVolume ? QStringLiteral("Master") : QStringLiteral("WaveOut");
  controls_.at(SkinControl::VolPlusButton)->setToolTip(QStringLiteral("Increase %1 Volume").arg(volume));
  controls_.at(SkinControl::VolMinusButton)->setToolTip(QStringLiteral("Decrease %1 Volume").arg(volume));
}

void TKivRecForm::VolumeKeyDown(SkinControl key, PictureState picture, bool& held) {
  if (conversionBusy_) return;
  ShowKeyPicture(key, picture);
  held = true;
  Timer1.start();
}

void TKivRecForm::VolumeKeyUp(SkinControl key, bool& held) {
  ShowKeyPicture(key, PictureState::Rest);
  held = false;
  Timer1.stop();
}

void TKivRecForm::volButtonMouseDown(int x) {
  if (x < kVolumeSplit) {
    VolumeKeyDown(SkinControl::volButton, PictureState::TurningDown, volumeDownHeld_);
  } else {
    VolumeKeyDown(SkinControl::volButton, PictureState::TurningUp, volumeUpHeld_);
  }
}

void TKivRecForm::volButtonMouseUp(int x) {
  VolumeKeyUp(SkinControl::volButton, x < kVolumeSplit ? volumeDownHeld_ : volumeUpHeld_);
}

void TKivRecForm::volButtonMouseMove(int x) {
  const QString volume = settings_.useMasterVolume ? QStringLiteral("Master") : QStringLiteral("WaveOut");
  const QString way = x < kVolumeSplit ? QStringLiteral("Decrease") : QStringLiteral("Increase");
  controls_.at(SkinControl::volButton)->setToolTip(QStringLiteral(" %1 %2 Volume").arg(way, volume));
}

void TKivRecForm::VolPlusButtonMouseDown() {
  VolumeKeyDown(SkinControl::VolPlusButton, PictureState::Pressed, volumeUpHeld_);
}

void TKivRecForm::VolPlusButtonMouseUp() {
  if (!conversionBusy_) VolumeKeyUp(SkinControl::VolPlusButton, volumeUpHeld_);
}

void TKivRecForm::VolMinusButtonMouseDown() {
  VolumeKeyDown(SkinControl::VolMinusButton, PictureState::Pressed, volumeDownHeld_);
}

void TKivRecForm::VolMinusButtonMouseUp() {
  if (!conversionBusy_) VolumeKeyUp(SkinControl::VolMinusButton, volumeDownHeld_);
}

void TKivRecForm::VolumeRampTick() {
  // Without a readable playback line there is nothing to turn.
  if (playbackVolume_ < 0) return;
  if (volumeUpHeld_) playbackVolume_ = std::min(playbackVolume_ + kVolumeStep, 65535);
  if (volumeDownHeld_) playbackVolume_ = std::max(playbackVolume_ - kVolumeStep, 0);
  CGauge1->SetProgress(playbackVolume_);
  (void)Mixer_->SetVolume(0, PlaybackLine(), playbackVolume_, -1, -1);
}

void TKivRecForm::MixerControlChange() {
  // A line that cannot be read now keeps what was shown.
  (void)ReadLeft(0, PlaybackLine(), playbackVolume_);
  (void)ReadLeft(1, MicLine_, micVolume_);
  CGauge1->SetProgress(std::max(playbackVolume_, 0));
  DDSettingsForm_->SetMicVolume(micVolume_);
}

void TKivRecForm::RebuildVolumesMenu() {
  QMenu* volumes = menus_->Volumes1;
  volumes->clear();
  using View = DesktopLauncher::VolumeView;
  // Without a volume control on the desktop the items simply do nothing.
  connect(volumes->addAction(QStringLiteral("Playback")), &QAction::triggered, this,
          [this] { services_.launcher->StartVolumeControl(View::Playback); });
  connect(volumes->addAction(QStringLiteral("Recording")), &QAction::triggered, this,
          [this] { services_.launcher->StartVolumeControl(View::Recording); });
}

void TKivRecForm::MicVolSliderChange(int position) {
  micVolume_ = position;
  (void)Mixer_->SetVolume(1, MicLine_, position, -1, -1);
}

void TKivRecForm::MasterVolumeRBClick() {
  settings_.useMasterVolume = !DDSettingsForm_->WaveVolumeRB->isChecked();
  ShowVolumeHints();
  (void)ReadLeft(0, PlaybackLine(), playbackVolume_);
  CGauge1->SetProgress(std::max(playbackVolume_, 0));
}

void TKivRecForm::Settings1Click() {
  if (Playing() || capture_->Recording()) return;
  int shown = -1;
  (void)ReadLeft(1, MicLine_, shown);
  TDDSettingsForm& options = *DDSettingsForm_;
  options.FormShow(shown, settings_.useMasterVolume, settings_.autoRunOn, settings_.showPanelAtStart,
                   settings_.autoRewindOnStop);
  services_.dialogs->ExecModal(options);
  if (!options.OptionsAccepted()) return;
  SaveSettings();
  settings_.useMasterVolume = options.MasterVolumeRB->isChecked();
  settings_.showPanelAtStart = options.OpenDDForm->isChecked();
  settings_.autoRewindOnStop = options.AutoRewindCB->isChecked();
  SaveSettings();
  cassette_->CloseStream();
}

void TKivRecForm::Settings2Click() {
  if (CassetteLoaded() && cassette_->CassetteStreamClosed() &&
      !Reported(cassette_->EnsureStreamOpen())) {
    return;
  }
  analyser_->DrawIdleLine();
  Settings1Click();
  analyser_->DrawIdleLine();
  cassette_->CloseStream();
}

}  // namespace kiv
