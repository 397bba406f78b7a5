// Editing the messages from the panel: delete the current message (DEL key and ticker menu),
// delete all messages, and give the current message a note (ticker menu and a click on the
// ticker). The cassette does the file work and packs after every delete; the panel asks first,
// shows the pack's progress and refreshes what it shows afterwards. Nothing here acts while the
// tape plays, records (paused or not) or a conversion holds the cassette.
#include <QAction>

#include "app/TImageControl.h"
#include "app/TKivRecForm.h"
#include "app/TMessageNameForm.h"
#include "audio/GraphicAnalyser.h"
#include "panel/TChangeClothes.h"
#include "panel/TMarquee.h"
#include "platform/Dialogs.h"

namespace kiv {
namespace {

constexpr int kConfirmFlags = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;  // 292
// The gauge counts in thousandths: a cassette may hold more bytes than the bar's int range.
constexpr int kGaugeSteps = 1000;

// The progress window of a pack, alive for one delete.
class PackWindow {
 public:
  explicit PackWindow(QWidget* panel) : window_(panel) {
    window_.setWindowTitle(QStringLiteral("Packing..."));
    window_.Gauge()->setRange(0, kGaugeSteps);
    window_.Gauge()->setValue(0);
    window_.show();
  }
  void Show(PackStage stage, uint64_t done, uint64_t total) {
    const QString caption =
        stage == PackStage::Packing ? QStringLiteral("Packing...") : QStringLiteral("Copying...");
    if (window_.windowTitle() != caption) window_.setWindowTitle(caption);
    window_.Gauge()->setValue(total == 0 ? kGaugeSteps : int(done * kGaugeSteps / total));
    // The pack runs without returning to the event loop; the bar must still move.
    window_.Gauge()->repaint();
  }

 private:
  TChangeClothes window_;
};

}  // namespace

void TKivRecForm::WireMessageEditing() {
  connect(static_cast<TImageControl*>(controls_[SkinControl::delButton]), &TImageControl::Clicked,
          this, [this] { delButtonClick(); });
  connect(menus_->Item(MenuItem::delMsg), &QAction::triggered, this, [this] { delMsgClick(); });
  connect(menus_->Item(MenuItem::DeleteCassette1), &QAction::triggered, this,
          [this] { DeleteCassette1Click(); });
  connect(menus_->Item(MenuItem::EnterNote1), &QAction::triggered, this,
          [this] { EnterNote1Click(); });
  connect(menus_->Item(MenuItem::ListNotations1), &QAction::triggered, this,
          [this] { ListNotations1Click(); });
}

bool TKivRecForm::MayEditMessages() const {
  return TransportController::MayChangeSettings(Transport());
}

void TKivRecForm::delButtonClick() {
  // The key follows the menu item, which the tape disables while it runs.
  if (menus_->Item(MenuItem::delMsg)->isEnabled()) delMsgClick();
}

void TKivRecForm::delMsgClick() {
  if (!MayEditMessages()) return;
  analyser_->DrawIdleLine();
  DeleteCurrentMessage();
  analyser_->DrawIdleLine();
  cassette_->CloseStream();
}

void TKivRecForm::DeleteCurrentMessage() {
  if (services_.dialogs->MessageBox(QStringLiteral("Delete Message?"),
                                    QStringLiteral("Confirm Delete"), kConfirmFlags) == IDNO) {
    return;
  }
  if (cassette_->MessageCount() == 0) return;
  if (!Reported(cassette_->EnsureStreamOpen())) return;
  const uint32_t countBefore = cassette_->MessageCount();
  Status deleted;
  {
    PackWindow window(this);
    deleted = cassette_->DeleteMessage(
        [&window](PackStage stage, uint64_t done, uint64_t total) { window.Show(stage, done, total); });
  }
  if (!deleted.ok()) {
    // The cassette is kept whole either way: a failed pack leaves the old file with the entry
    // marked deleted, and the next pack that succeeds drops its sound.
    const QString what =
        cassette_->MessageCount() < countBefore
            ? QStringLiteral("The message was deleted, but the cassette file could not be packed. "
                             "The file was left as it was; the deleted message's sound will be "
                             "removed by the next delete that succeeds.")
            : QStringLiteral("The message could not be deleted. The cassette was left as it was.");
    services_.dialogs->MessageBox(
        what + QStringLiteral("\r\n\r\n") + QString::fromStdString(deleted.message()),
        ApplicationTitle(), MB_ICONHAND);
  }
  if (cassette_->MessageCount() == 0) {
    // The only message went: a blank cassette, with nothing left to delete.
    ShowCassetteState(false, true);
    menus_->Item(MenuItem::DeleteCassette1)->setEnabled(false);
  } else {
    ShowSelectedMessage(Status::Ok());
  }
  RefreshRemainingTime();
}

void TKivRecForm::DeleteCassette1Click() {
  if (!MayEditMessages()) return;
  if (services_.dialogs->MessageBox(QStringLiteral("Delete All Mesages?"),
                                    QStringLiteral("Confirm Delete All"), kConfirmFlags) == IDNO) {
    return;
  }
  // A new blank cassette also clears the inconsistency that refused recording.
  if (Reported(cassette_->DeleteAllMessages())) {
    ShowCassetteState(false, true);
    menus_->Item(MenuItem::DeleteCassette1)->setEnabled(false);
  }
  if (!mname->Active()) {
    mname->SetActive(true);
    ApplyTickerDirection();
  }
  cassette_->CloseStream();
  RefreshRemainingTime();
}

void TKivRecForm::mnameClick() { EnterNote1Click(); }

void TKivRecForm::EnterNote1Click() {
  if (!MayEditMessages() || cassette_->MessageCount() == 0) return;
  RenameFromDialog(cassette_->CurrentMessage(), QString::fromLatin1(cassette_->CurrentNote()));
  mname->SetActive(true);
  ApplyTickerDirection();
  cassette_->CloseStream();
}

void TKivRecForm::RenameFromDialog(uint32_t number, const QString& note) {
  TMessageNameForm form(this);
  form.setWindowTitle(QStringLiteral("New Message Name"));
  form.SetText(note);
  form.SetPrompt(QStringLiteral("Enter New Name for Message #") + QString::number(number));
  connect(&form, &TMessageNameForm::HelpRequested, this, [this] { OpenHelp(); });
  const bool chosen = services_.dialogs->ExecModal(form) == QDialog::Accepted;
  update();
  // Cancel empties the edit: an empty text or a cancelled form changes nothing.
  if (!chosen || form.Text().isEmpty() || !Reported(cassette_->EnsureStreamOpen()) ||
      !Reported(cassette_->RenameMessage(number, form.Text().toLatin1().toStdString()))) {
    return;
  }
  if (number == cassette_->CurrentMessage()) {
    ShowCustomText();
    // The ticker is drawn once more a second later, after the name has settled.
    Timer3.start();
  }
}

}  // namespace kiv
