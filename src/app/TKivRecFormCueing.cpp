// Moving along the tape: Rewind and Forward wind through the message while held (with audible
// cueing during a playback), Previous and Next step between messages when idle and change the
// speed while a message plays, and the mouse wheel seeks. One repeat timer, Timer1, serves every
// held key. How far each tick or notch moves the head is the transport controller's business.
#include <QLabel>
#include <QWheelEvent>
#include <cstdlib>

#include "app/TETPForm.h"
#include "app/TKivRecForm.h"
#include "audio/PlaybackEngine.h"
#include "audio/CaptureEngine.h"
#include "platform/Dialogs.h"

namespace kiv {

void TKivRecForm::WindKeyDown(SkinControl key, PictureState pressedPicture, bool& held,
                              PanelControl control) {
  if (!TransportController::MayWind(Transport())) return;
  if (availability_[control] != Availability::Running) ShowKeyPicture(key, pressedPicture);
  if (!Reported(cassette_->EnsureStreamOpen())) return;
  held = true;
  Timer1.start();
}

void TKivRecForm::WindKeyUp(SkinControl key, PictureState restingPicture, bool& held,
                            PanelControl control) {
  if (!TransportController::WindKeyReleaseCounts(Transport())) return;
  if (availability_[control] != Availability::Running) ShowKeyPicture(key, restingPicture);
  held = false;
  // A playback keeps the stream; otherwise the file is free again for other programs.
  if (!cassette_->CassetteStreamClosed() && !Playing()) cassette_->CloseStream();
  Timer1.stop();
}

void TKivRecForm::MessageKeyDown(SkinControl key, PictureState pressedPicture, bool& held,
                                 PanelControl control, bool faster) {
  if (!TransportController::MayWind(Transport())) return;
  if (availability_[control] != Availability::Running) ShowKeyPicture(key, pressedPicture);
  if (Playing() && availability_[control] == Availability::Available) {
    // One step per press: holding the key does not keep accelerating.
    if (faster) {
      playback_->FasterStep();
    } else {
      playback_->SlowerStep();
    }
    return;
  }
  if (!Reported(cassette_->EnsureStreamOpen())) return;
  held = true;
  Timer1.start();
}

void TKivRecForm::forwButtonMouseDown() {
  WindKeyDown(SkinControl::forwButton, PictureState::Pressed, forwardHeld_, PanelControl::Forward);
}

void TKivRecForm::forwButtonMouseUp() {
  WindKeyUp(SkinControl::forwButton, PictureState::Rest, forwardHeld_, PanelControl::Forward);
}

void TKivRecForm::rewButtonMouseDown() {
  WindKeyDown(SkinControl::rewButton, PictureState::Pressed, rewindHeld_, PanelControl::Rewind);
}

void TKivRecForm::rewButtonMouseUp() {
  WindKeyUp(SkinControl::rewButton, PictureState::Rest, rewindHeld_, PanelControl::Rewind);
}

void TKivRecForm::forwEButtonMouseDown() {
  MessageKeyDown(SkinControl::forwEButton, PictureState::Pressed, nextHeld_, PanelControl::NextKey,
                 true);
}

void TKivRecForm::forwEButtonMouseUp() {
  WindKeyUp(SkinControl::forwEButton, PictureState::Rest, nextHeld_, PanelControl::NextKey);
}

void TKivRecForm::rewSButtonMouseDown() {
  MessageKeyDown(SkinControl::rewSButton, PictureState::Pressed, previousHeld_,
                 PanelControl::PreviousKey, false);
}

void TKivRecForm::rewSButtonMouseUp() {
  WindKeyUp(SkinControl::rewSButton, PictureState::Rest, previousHeld_, PanelControl::PreviousKey);
}

void TKivRecForm::Timer1Timer() {
  if (volumeUpHeld_ || volumeDownHeld_) VolumeRampTick();
  if (cassette_->CassetteStreamClosed()) return;
  auto available = [this](PanelControl control) {
    return availability_[control] == Availability::Available;
  };

  if (forwardHeld_ && transport_->WindTick(+1, available(PanelControl::Forward)) == WindOutcome::Wound) {
    ShowPositionCounter();
  }
  if (rewindHeld_ && transport_->WindTick(-1, available(PanelControl::Rewind)) == WindOutcome::Wound) {
    ShowPositionCounter();
  }
  if (previousHeld_ && available(PanelControl::PreviousKey)) {
    if (Playing()) {
      playback_->SlowerStep();
    } else if (available(PanelControl::PreviousMessage)) {
      PreviousMessage();
    }
  }
  if (nextHeld_ && available(PanelControl::NextKey)) {
    if (Playing()) {
      playback_->FasterStep();
    } else if (available(PanelControl::NextMessage)) {
      NextMessage();
    }
  }
}

void TKivRecForm::NextMessage() { ShowSelectedMessage(cassette_->NextMessage()); }

void TKivRecForm::PreviousMessage() { ShowSelectedMessage(cassette_->PreviousMessage()); }

void TKivRecForm::ShowSelectedMessage(const Status& selected) {
  if (!selected.ok()) {
    services_.dialogs->ShowMessage(QString::fromStdString(selected.message()));
    return;
  }
  const Cassette& tape = *cassette_;
  ShowCustomText();
  Timer3.start();
  ShowPositionCounter();
  message->setText(QString::fromLatin1(tape.MessageLabelText()));
  availability_.Set(PanelControl::NextMessage,
                    tape.NextEnabled() ? Availability::Available : Availability::Unavailable);
  availability_.Set(PanelControl::PreviousMessage,
                    tape.PrevEnabled() ? Availability::Available : Availability::Unavailable);
}

void TKivRecForm::ShowPositionCounter() {
  const CounterSeconds counter = cassette_->Head().Seconds();
  ShowCounter(counter.length, counter.position);
}

void TKivRecForm::wheelEvent(QWheelEvent* event) {
  event->accept();
  // A notch is one step, however finely the wheel reports it.
  const int notches = transport_->TakeWheelNotches(event->angleDelta().y());
  for (int i = 0; i < std::abs(notches); ++i) {
    MouseWheelSeek(notches > 0 ? TransportController::kWheelNotch : -TransportController::kWheelNotch,
                   event->modifiers());
  }
}

void TKivRecForm::MouseWheelSeek(int delta, Qt::KeyboardModifiers modifiers) {
  if (!TransportController::MayWheelSeek(Transport()) || delta == 0) return;
  // A paused playback goes on from the new place.
  if (playback_->PlayPaused()) playButtonClick();
  transport_->WheelSeek(delta > 0 ? 1 : -1, TETPForm::StepKeysOf(modifiers));
  ShowPositionCounter();
}

}  // namespace kiv
