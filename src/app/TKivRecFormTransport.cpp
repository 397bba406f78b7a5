// The tape keys: Record, Play, Pause and Stop on the panel and in the tray menu, and the faces
// the engines ask the panel to show (key pictures, tray icon and hint, wheels, availability).
// What a key does is the transport controller's decision over the engines' flags and the control
// availability table; the engines do the work.
#include <QAction>
#include <QKeyEvent>
#include <QMenu>

#include "app/TImageControl.h"
#include "app/TKivRecForm.h"
#include "audio/CaptureEngine.h"
#include "audio/GraphicAnalyser.h"
#include "audio/PlaybackEngine.h"
#include "panel/SkinLoader.h"
#include "panel/TBMShapedForm.h"
#include "panel/TZvTrayIcon.h"
#include "platform/Dialogs.h"
#include "transport/TrayIconChoice.h"

namespace kiv {

void TKivRecForm::CreateEngines() {
  analyser_ = new GraphicAnalyser(PaintBox1, this);
  playback_ = std::make_unique<PlaybackEngine>(*cassette_, *services_.audioOutput,
                                               *services_.dialogs,
                                               static_cast<PlaybackView&>(*this));
  capture_ = std::make_unique<CaptureEngine>(*cassette_, *services_.audioInput,
                                             *services_.freeSpace, *services_.dialogs,
                                             static_cast<CaptureView&>(*this));
  transport_ = std::make_unique<TransportController>(cassette_->Head(), *playback_);
}

void TKivRecForm::WireTransport() {
  auto key = [this](SkinControl control) { return static_cast<TImageControl*>(controls_[control]); };
  connect(key(SkinControl::recButton), &TImageControl::Clicked, this, [this] { recButtonClick(); });
  connect(key(SkinControl::playButton), &TImageControl::MousePressed, this,
          [this](Qt::MouseButton, Qt::KeyboardModifiers modifiers) { playButtonMouseDown(modifiers); });
  connect(key(SkinControl::playButton), &TImageControl::Clicked, this, [this] { playButtonClick(); });
  connect(key(SkinControl::PauseButton), &TImageControl::Clicked, this, [this] { pauseButtonClick(); });
  connect(key(SkinControl::stopButton), &TImageControl::Clicked, this, [this] { stopButtonClick(); });

  // The winding and message keys act while they are held: press and release, left button.
  struct HeldKey {
    SkinControl control;
    void (TKivRecForm::*down)();
    void (TKivRecForm::*up)();
  };
  for (const HeldKey& held : {HeldKey{SkinControl::forwButton, &TKivRecForm::forwButtonMouseDown,
                                      &TKivRecForm::forwButtonMouseUp},
                              HeldKey{SkinControl::rewButton, &TKivRecForm::rewButtonMouseDown,
                                      &TKivRecForm::rewButtonMouseUp},
                              HeldKey{SkinControl::forwEButton, &TKivRecForm::forwEButtonMouseDown,
                                      &TKivRecForm::forwEButtonMouseUp},
                              HeldKey{SkinControl::rewSButton, &TKivRecForm::rewSButtonMouseDown,
                                      &TKivRecForm::rewSButtonMouseUp}}) {
    connect(key(held.control), &TImageControl::MousePressed, this,
            [this, down = held.down](Qt::MouseButton button, Qt::KeyboardModifiers) {
              if (button == Qt::LeftButton) (this->*down)();
            });
    connect(key(held.control), &TImageControl::MouseReleased, this,
            [this, up = held.up](Qt::MouseButton button, Qt::KeyboardModifiers) {
              if (button == Qt::LeftButton) (this->*up)();
            });
  }

  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(&Timer4, &QTimer::timeout, this, [this] { Timer4Timer(); });
  connect(&Timer5, &QTimer::timeout, this, [this] { Timer5Timer(); });
  connect(&Timer7, &QTimer::timeout, this, [this] { Timer7Timer(); });
  connect(menus_->Item(MenuItem::Record1), &QAction::triggered, this, [this] { Record1Click(); });
  connect(menus_->Item(MenuItem::Play1), &QAction::triggered, this, [this] { Play1Click(); });
  connect(menus_->PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });
  Count->installEventFilter(this);
  message->installEventFilter(this);
}

// ---- State -------------------------------------------------------------------------------

bool TKivRecForm::Playing() const { return playback_->Playing(); }

TransportState TKivRecForm::Transport() const {
  TransportState state;
  if (capture_->Recording()) {
    state.mode = capture_->RecordPaused() ? TapeMode::RecordPaused : TapeMode::Recording;
  } else if (playback_->Playing()) {
    state.mode = playback_->PlayPaused() ? TapeMode::PlayPaused : TapeMode::Playing;
  }
  state.offSpeed = cassette_->Head().OffSpeed();
  state.conversionBusy = conversionBusy_;
  return state;
}

bool TKivRecForm::Reported(const Status& status) {
  if (!status.ok()) services_.dialogs->ShowMessage(QString::fromStdString(status.message()));
  return status.ok();
}

TapeState TKivRecForm::TrayState() const {
  TapeState tape;
  tape.playing = playback_->Playing();
  tape.recording = capture_->Recording();
  tape.paused = playback_->PlayPaused() || capture_->RecordPaused();
  return tape;
}

void TKivRecForm::ShowKeyPicture(SkinControl key, PictureState state) {
  if (!skinLoader_) return;
  const QImage picture = skinLoader_->LoadPicture(QLatin1String(SkinPictureName(key, state)));
  // A key without its picture in the skin keeps the one it shows rather than going blank.
  if (!picture.isNull()) SetControlPicture(key, picture);
}

// ---- The keys ----------------------------------------------------------------------------

void TKivRecForm::playButtonMouseDown(Qt::KeyboardModifiers modifiers) {
  directSelectRequested_ = modifiers.testFlag(Qt::ControlModifier);
}

void TKivRecForm::playButtonClick() {
  const PlayKeyAction action = TransportController::ForPlayKey(Transport());
  if (action == PlayKeyAction::Ignore) return;
  if (action == PlayKeyAction::TogglePause) {
    pauseButtonClick();
    return;
  }
  if (!Reported(cassette_->EnsureStreamOpen())) return;
  if (action == PlayKeyAction::NormalSpeed) {
    cassette_->Head().NormalSpeed();
    playback_->RequestRestart();
    UpdateTrayIcon();
    ShowKeyPicture(SkinControl::playButton, PictureState::Pressed);
    ShowKeyPicture(SkinControl::PauseButton, PictureState::Rest);
    return;
  }
  if (directSelectRequested_) {
    // Ctrl+Play: pick the message first, then play it. The press must not drag the panel.
    directSelectRequested_ = false;
    ZvSkin1->SetMoveable(false);
    ListNotations1Click();
    MoveableTimer.start();
    if (!Reported(cassette_->EnsureStreamOpen())) return;
  }

  if (availability_[PanelControl::Play] == Availability::Available || playback_->PlayPaused()) {
    playback_->StartPlayback();
    if (Playing()) {
      controls_[SkinControl::rewSButton]->setToolTip(QStringLiteral("Slow Play"));
      controls_[SkinControl::forwEButton]->setToolTip(QStringLiteral("Fast Play"));
      UpdateTrayIcon();
      StartWheelAnimation();
      ShowKeyPicture(SkinControl::playButton, PictureState::Pressed);
      ShowKeyPicture(SkinControl::PauseButton, PictureState::Rest);
      return;
    }
  }
  // Nothing plays: the stream opened for the key is let go again.
  if (!Playing()) cassette_->CloseStream();
}

void TKivRecForm::pauseButtonClick() {
  if (TransportController::TapeKeysIgnored(Transport())) return;
  if (availability_[PanelControl::Pause] != Availability::Available) return;
  if (capture_->Recording()) {
    if (capture_->RecordPaused()) {
      if (capture_->ResumeCapture()) {
        Timer5.start();
        ShowKeyPicture(SkinControl::PauseButton, PictureState::Rest);
      }
    } else {
      capture_->PauseCapture();
      Timer5.stop();
      analyser_->DrawFlatLine(analyser_->AnalyserRecordColor);
      ShowKeyPicture(SkinControl::PauseButton, PictureState::Pressed);
    }
    UpdateTrayIcon();
  } else if (Playing()) {
    // The engine shows the paused or playing face and pauses or resumes the wheels.
    playback_->TogglePause();
  }
  RefreshRemainingTime();
}

void TKivRecForm::StopTape() {
  if (Playing()) playback_->StopPlayback();
  if (capture_->Recording()) capture_->StopRecording();
}

void TKivRecForm::stopButtonClick() {
  if (TransportController::TapeKeysIgnored(Transport())) return;
  if (availability_[PanelControl::Stop] == Availability::Available) {
    ShowKeyPicture(SkinControl::stopButton, PictureState::Pressed);
    StopTape();
    Timer7.start();
  }
  RefreshRemainingTime();
}

void TKivRecForm::Timer7Timer() {
  Timer7.stop();
  ShowKeyPicture(SkinControl::stopButton, PictureState::Rest);
}

void TKivRecForm::recButtonClick() {
  const TransportState state = Transport();
  if (TransportController::TapeKeysIgnored(state)) return;
  if (availability_[PanelControl::Record] == Availability::Unavailable) return;
  if (TransportController::RecordKeyPauses(state)) {
    pauseButtonClick();
    return;
  }
  if (!CheckRecordStart()) return;

  if (availability_[PanelControl::Record] == Availability::Available || capture_->RecordPaused()) {
    ShowKeyPicture(SkinControl::recButton, PictureState::Pressed);
    // A recording that cannot start has told the user (Error #07) and put the key back.
    if (capture_->StartRecording()) {
      SetTrayHint(QStringLiteral("Recording"));
      UpdateTrayIcon();
      ShowKeyPicture(SkinControl::PauseButton, PictureState::Rest);
      StartWheelAnimation();
    }
  }
  // A recording that did not start leaves the file free for other programs.
  if (!capture_->Recording()) cassette_->CloseStream();
  RefreshRemainingTime();
}

// ---- The tray menu -----------------------------------------------------------------------

void TKivRecForm::PopupMenu1Popup() {
  QAction* settings = menus_->Item(MenuItem::Settings1);
  QAction* play = menus_->Item(MenuItem::Play1);
  QAction* onTop = menus_->Item(MenuItem::AlwaysonTop2);
  QAction* record = menus_->Item(MenuItem::Record1);
  for (QAction* item : {settings, play, onTop, record}) item->setEnabled(true);
  if (Playing()) {
    play->setText(QStringLiteral("Stop Message"));
    for (QAction* item : {record, settings, onTop}) item->setEnabled(false);
  } else {
    play->setText(QStringLiteral("Play Message"));
  }
  if (capture_->Recording()) {
    play->setText(QStringLiteral("Play Message"));
    play->setEnabled(false);
    settings->setEnabled(false);
    onTop->setEnabled(false);
  }
}

void TKivRecForm::Record1Click() {
  if (TransportController::ForRecordMenu(Transport()) == RecordMenuAction::StartRecording) {
    // The menu closes first, then the recording starts.
    deferredAction_ = 1;
    Timer4.start();
  } else {
    stopButtonClick();
  }
}

void TKivRecForm::Play1Click() {
  if (Playing()) {
    stopButtonClick();
    return;
  }
  deferredAction_ = 2;
  Timer4.start();
}

void TKivRecForm::Timer4Timer() {
  Timer4.stop();
  const int action = deferredAction_;
  deferredAction_ = 0;
  if (action == 1) recButtonClick();
  if (action == 2) playButtonClick();
}

// ---- The tape wheels ---------------------------------------------------------------------

void TKivRecForm::StartWheelAnimation() {
  // A skin that leaves the wheels out has no frames to turn.
  if (controls_[SkinControl::WheelL]->isHidden() || !skinLoader_) return;
  const char* names[] = {SkinPictureName(SkinControl::WheelL),
                         SkinPictureName(SkinControl::WheelL, PictureState::Turned),
                         SkinPictureName(SkinControl::WheelD),
                         SkinPictureName(SkinControl::WheelD, PictureState::Turned)};
  for (size_t i = 0; i < wheelFrames_.size(); ++i) {
    wheelFrames_[i] = skinLoader_->LoadPicture(QString::fromLatin1(names[i]));
  }
  wheelTag_ = 0;
  Timer5.start();
}

void TKivRecForm::Timer5Timer() {
  if (controls_[SkinControl::WheelL]->isHidden()) return;
  const bool first = wheelTag_ == 0;
  const QImage& left = wheelFrames_[first ? 0 : 1];
  const QImage& right = wheelFrames_[first ? 2 : 3];
  if (!left.isNull()) SetControlPicture(SkinControl::WheelL, left);
  if (!right.isNull()) SetControlPicture(SkinControl::WheelD, right);
  wheelTag_ = first ? 1 : 0;
}

void TKivRecForm::StartWheels() {
  // Every captured buffer asks; a running animation keeps its rhythm instead of starting over.
  if (WheelFramesLoaded() && !Timer5.isActive()) Timer5.start();
}

void TKivRecForm::PauseWheels() { Timer5.stop(); }

void TKivRecForm::ResumeWheels() {
  if (WheelFramesLoaded()) Timer5.start();
}

void TKivRecForm::StopWheels() {
  if (!controls_[SkinControl::WheelL]->isHidden()) wheelFrames_ = {};
  wheelTag_ = 0;
  Timer5.stop();
}

// ---- The faces the engines ask for -------------------------------------------------------

void TKivRecForm::ShowPlayingFace() {
  UpdateTrayIcon();
  ShowKeyPicture(SkinControl::PauseButton, PictureState::Rest);
}

void TKivRecForm::ShowPausedFace() {
  UpdateTrayIcon();
  ShowKeyPicture(SkinControl::PauseButton, PictureState::Pressed);
}

void TKivRecForm::ShowIdleFace() {
  UpdateTrayIcon();
  ShowKeyPicture(SkinControl::playButton, PictureState::Rest);
  ShowKeyPicture(SkinControl::PauseButton, PictureState::Rest);
  controls_[SkinControl::rewSButton]->setToolTip(QStringLiteral("Previous Message"));
  controls_[SkinControl::forwEButton]->setToolTip(QStringLiteral("Next Message"));
}

void TKivRecForm::ApplyAvailability(const ControlAvailability& availability) {
  availability_ = availability;
}

void TKivRecForm::SetAvailability(PanelControl control, kiv::Availability availability) {
  availability_.Set(control, availability);
}

void TKivRecForm::EnableMessageMenuItems(bool enabled) {
  menus_->Item(MenuItem::delMsg)->setEnabled(enabled);
  menus_->Item(MenuItem::ExportMessage1)->setEnabled(enabled);
}

bool TKivRecForm::AutoRewindOnStop() const { return settings_.autoRewindOnStop; }

void TKivRecForm::DrawPlaybackTrace(const QByteArray& bytes) { analyser_->DrawPlaybackTrace(bytes); }

void TKivRecForm::DrawRecordingTrace(const QByteArray& buffer) {
  analyser_->DrawRecordingTrace(buffer);
}

void TKivRecForm::DrawIdleLine() { analyser_->DrawIdleLine(); }

void TKivRecForm::ShowRecordKeyAtRest() { ShowKeyPicture(SkinControl::recButton, PictureState::Rest); }

void TKivRecForm::SetTrayHint(const QString& hint) { SysTrayIcon->SetHint(hint); }

void TKivRecForm::SetMessageLabel(const QString& text) { message->setText(text); }

void TKivRecForm::SetRemainingTimeHint(const QString& hint) { message->setToolTip(hint); }

void TKivRecForm::SetCounterText(const QString& text) { Count->setText(text); }

void TKivRecForm::SetMenuItemEnabled(MenuItem item, bool enabled) {
  menus_->Item(item)->setEnabled(enabled);
}

void TKivRecForm::ShowRecordingState() {
  availability_ = ControlAvailability::For(TransportSituation::Recording, cassette_->MessageCount(),
                                           cassette_->CurrentMessage(), &availability_);
  menus_->Item(MenuItem::Record1)->setText(QStringLiteral("Stop Recording"));
  UpdateTrayIcon();
}

void TKivRecForm::ShowIdleState(bool previousMessageAvailable, bool nextMessageAvailable) {
  ShowKeyPicture(SkinControl::recButton, PictureState::Rest);
  menus_->Item(MenuItem::Record1)->setText(QStringLiteral("Start Recording"));
  availability_ = ControlAvailability::For(TransportSituation::IdleWithMessages,
                                           cassette_->MessageCount(), cassette_->CurrentMessage());
  availability_.Set(PanelControl::PreviousMessage,
                    previousMessageAvailable ? Availability::Available : Availability::Unavailable);
  availability_.Set(PanelControl::NextMessage,
                    nextMessageAvailable ? Availability::Available : Availability::Unavailable);
  ShowKeyPicture(SkinControl::PauseButton, PictureState::Rest);
  UpdateTrayIcon();
  StopWheels();
}

void TKivRecForm::CassetteReplaced() {
  // Told exactly as when the damaged cassette is found at open.
  ShowBackupNotice();
  ShowCassetteState(false, true);
}

}  // namespace kiv
