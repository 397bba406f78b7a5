// The counter, the Exact Time Positioner behind it, the remaining-time hint and the guards that
// keep a recording within the cassette's capacity and the disk's free space.
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "app/EtpHost.h"
#include "app/TETPForm.h"
#include "app/TKivRecForm.h"
#include "app/TLimitForm.h"
#include "audio/CaptureEngine.h"
#include "audio/PlaybackEngine.h"
#include "panel/TBMShapedForm.h"
#include "platform/Dialogs.h"
#include "platform/FreeSpace.h"
#include "platform/SoundPlayer.h"
#include "transport/CounterText.h"

namespace kiv {
namespace {

QString InconsistentCassetteText() {
  return QStringLiteral(
      "Kiv Sound Recorder detected inconsistency in one or more of the recorded messages.\r\n"
      "You have to delete all recorded messages to be able to make new recordings.\r\n\r\n"
      "You can try to export important messages to WAV sound files first.\r\n"
      "To do that click SET and use Export Message to WAV for each message.\r\n"
      "Then right click on the ticker area and choose Delete All Messages option.");
}

// The positioner moves the panel's play head and shows the head's counter.
class PanelEtpHost final : public EtpHost {
 public:
  PanelEtpHost(TKivRecForm& panel, const PlayHead& head) : panel_(panel), head_(head) {}
  void ApplyEtpPosition(uint32_t progress) override { panel_.ApplyEtpPosition(progress); }
  QString CounterText() const override {
    const CounterSeconds counter = head_.Seconds();
    return QString::fromStdString(kiv::CounterText(counter.length, counter.position));
  }

 private:
  TKivRecForm& panel_;
  const PlayHead& head_;
};

}  // namespace

void TKivRecForm::ShowCounter(uint32_t lengthSeconds, uint32_t positionSeconds) {
  Count->setText(QString::fromStdString(CounterText(lengthSeconds, positionSeconds)));
}

// ---- Exact Time Positioner ---------------------------------------------------------------

void TKivRecForm::CountClick() {
  const PlayHead& head = cassette_->Head();
  if (!TransportController::MayOpenPositioner(Transport(), head)) return;

  // The click that opens the positioner must not start dragging the panel.
  ZvSkin1->SetMoveable(false);
  PanelEtpHost host(*this, head);
  TETPForm etp(host, this);
  etp.Open(head.Length(), head.InMessage(), head.PlayRate());
  const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QSize screenSize = screen ? screen->size() : QSize(1024, 768);
  etp.move(TETPForm::EtpPlacement(QCursor::pos(), Count->height(), etp.frameGeometry().size(), screenSize));
  // The dialogs service takes the panel out of the topmost band while the positioner is up.
  services_.dialogs->ExecModal(etp);
  MoveableTimer.start();
}

void TKivRecForm::ApplyEtpPosition(uint32_t progress) {
  transport_->SeekTo(progress);
  ShowPositionCounter();
}

// ---- Remaining time and the recording guards ---------------------------------------------

void TKivRecForm::RefreshRemainingTime() { capture_->RefreshRemainingTime(); }

bool TKivRecForm::CheckRecordStart() {
  const QString path = CassettePathText();
  const RecordStartCheck check = cassette_->CheckRecordStart(services_.freeSpace->FreeMiB(path));
  switch (check) {
    case RecordStartCheck::Ok:
      return true;
    case RecordStartCheck::Inconsistent:
      services_.dialogs->ShowMessage(InconsistentCassetteText());
      break;
    case RecordStartCheck::CapacityFull:
      ShowLimitWindow();
      break;
    case RecordStartCheck::NotEnoughSpace:
      services_.dialogs->ShowMessage(QStringLiteral("Not enough free space on ") +
                                     services_.freeSpace->VolumeName(path));
      break;
  }
  // Nothing runs when a recording is refused: the file is free again.
  cassette_->CloseStream();
  RefreshRemainingTime();
  return false;
}

void TKivRecForm::RunningCheckRefused(RunningCheck why) {
  if (why == RunningCheck::LowDisk) {
    const QString path = CassettePathText();
    services_.dialogs->ShowMessage(QStringLiteral("Low Hard Disk Resources on ") +
                                   services_.freeSpace->VolumeName(path));
  } else if (why == RunningCheck::CapacityFull) {
    ShowLimitWindow();
  }
}

void TKivRecForm::ShowLimitWindow() {
  // The sound starts and the window opens at once; a missing sound leaves the window alone.
  if (services_.soundPlayer) {
    services_.soundPlayer->Stop();
    services_.soundPlayer->Play(programFolder_ + QStringLiteral("limit.wav"));
  }
  TLimitForm limit(this);
  services_.dialogs->ExecModal(limit);
}

}  // namespace kiv
