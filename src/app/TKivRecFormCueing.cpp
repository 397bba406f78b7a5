// Moving along the tape: Rewind and Forward wind through the message while held (with audible
// cueing during a playback), Previous and Next step between messages when idle and change the
// speed while a message plays, and the mouse wheel seeks. One repeat timer, Timer1, serves every
// held key.
#include <QLabel>
#include <QWheelEvent>

#include "app/TETPForm.h"
#include "app/TKivRecForm.h"
#include "audio/PlaybackEngine.h"
#include "audio/CaptureEngine.h"
#include "platform/Dialogs.h"

namespace kiv {

namespace {

// A mouse wheel notch; finer wheels and touch pads send parts of it.
constexpr int kWheelNotch = 120;

}  // namespace

void TKivRecForm::WindKeyDown(SkinControl key, PictureState pressedPicture, bool& held,
                              PanelControl control) {
  if (conversionBusy_) return;
  if (capture_->Recording() || playback_->PlayPaused()) return;
  if (availability_[control] != Availability::Running) ShowKeyPicture(key, pressedPicture);
  held = true;
  cassette_->EnsureStreamOpen();
  Timer1.start();
}

void TKivRecForm::WindKeyUp(SkinControl key, PictureState restingPicture, bool& held,
                            PanelControl control) {
  if (capture_->Recording() || playback_->PlayPaused()) return;
  if (availability_[control] != Availability::Running) ShowKeyPicture(key, restingPicture);
  held = false;
  // A playback keeps the stream; otherwise the file is free again for other programs.
  if (!cassette_->CassetteStreamClosed() && !Playing()) cassette_->CloseStream();
  Timer1.stop();
}

void TKivRecForm::MessageKeyDown(SkinControl key, PictureState pressedPicture, bool& held,
                                 PanelControl control, bool faster) {
  if (conversionBusy_) return;
  if (capture_->Recording() || playback_->PlayPaused()) return;
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
  held = true;
  cassette_->EnsureStreamOpen();
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
  if (cassette_->CassetteStreamClosed()) return;
  Cassette& tape = *cassette_;
  auto available = [this](PanelControl control) {
    return availability_[control] == Availability::Available;
  };

  // Idle, each tick winds one second of tape (PlayRate is the base rate then).
  if (forwardHeld_) {
    if (Playing()) {
      playback_->SkipForward();
    } else if (available(PanelControl::Forward)) {
      const uint64_t ahead = uint64_t(tape.PlayPosition) + tape.PlayRate;
      tape.PlayPosition = ahead > tape.MessageEnd() ? tape.MessageEnd() : uint32_t(ahead);
      ShowPositionCounter();
    }
  }
  if (rewindHeld_) {
    if (Playing()) {
      playback_->SkipBack();
    } else if (available(PanelControl::Rewind)) {
      tape.PlayPosition = uint64_t(tape.PlayPosition) < uint64_t(tape.MessageStart()) + tape.PlayRate
                              ? tape.MessageStart()
                              : tape.PlayPosition - tape.PlayRate;
      ShowPositionCounter();
    }
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
  ShowCounter(MessageLength() / tape.BaseRate(), 0);
  message->setText(QString::fromLatin1(tape.MessageLabelText()));
  availability_.Set(PanelControl::NextMessage,
                    tape.NextEnabled() ? Availability::Available : Availability::Unavailable);
  availability_.Set(PanelControl::PreviousMessage,
                    tape.PrevEnabled() ? Availability::Available : Availability::Unavailable);
}

uint32_t TKivRecForm::MessageLength() const {
  const Cassette& tape = *cassette_;
  return tape.MessageEnd() - std::min(tape.MessageStart(), tape.MessageEnd());
}

uint32_t TKivRecForm::HeadInMessage() const {
  const Cassette& tape = *cassette_;
  const uint64_t at = uint64_t(tape.PlayPosition) + tape.SegmentPlayed;
  const uint64_t start = tape.MessageStart();
  return uint32_t(at > start ? at - start : 0);
}

void TKivRecForm::ShowPositionCounter() {
  const uint32_t rate = cassette_->BaseRate();
  ShowCounter(MessageLength() / rate, HeadInMessage() / rate);
}

void TKivRecForm::wheelEvent(QWheelEvent* event) {
  event->accept();
  // A notch is one step, however finely the wheel reports it.
  wheelTurn_ += event->angleDelta().y();
  while (wheelTurn_ >= kWheelNotch || wheelTurn_ <= -kWheelNotch) {
    const int notch = wheelTurn_ > 0 ? kWheelNotch : -kWheelNotch;
    wheelTurn_ -= notch;
    MouseWheelSeek(notch, event->modifiers());
  }
}

void TKivRecForm::MouseWheelSeek(int delta, Qt::KeyboardModifiers modifiers) {
  if (capture_->Recording() || delta == 0) return;
  // A paused playback goes on from the new place.
  if (playback_->PlayPaused()) playButtonClick();

  Cassette& tape = *cassette_;
  const uint64_t length = MessageLength();
  const Qt::KeyboardModifiers keys =
      modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
  uint64_t step = tape.PlayRate;
  if (keys == Qt::ControlModifier) {
    step = uint64_t(double(uint64_t(TETPForm::kCoarseStepFactor) * length) * 0.01);
  } else if (keys == (Qt::ControlModifier | Qt::ShiftModifier)) {
    step = uint64_t(double(length) * 0.01);
  }

  // Relative to the byte being heard, not to where the segment began.
  if (Playing()) playback_->FoldPosition();
  uint64_t r = HeadInMessage();
  if (delta > 0) {
    r = r + step < length ? r + step : length;
  } else {
    r = r > step ? r - step : 0;
  }
  tape.PlayPosition = uint32_t(tape.MessageStart() + r);
  tape.SegmentPlayed = 0;
  ShowPositionCounter();
  if (Playing()) {
    tape.PlayRate = tape.BaseRate();
    playback_->RequestRestart();
  }
}

}  // namespace kiv
