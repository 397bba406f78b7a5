// The Direct Message Selector on the panel: a list of every message, opened from the ticker
// menu, by a press on the message number, by Ctrl with Play and by Alt+M. A line chosen there
// becomes the current message; its menu deletes or renames a message and the list follows.
// Like every message edit it acts only while nothing plays, records or converts.
#include <QLabel>

#include "app/TKivRecForm.h"
#include "app/TNoteMessage.h"
#include "panel/TBMShapedForm.h"
#include "platform/Dialogs.h"

namespace kiv {

QStringList TKivRecForm::SelectorLines() {
  QStringList lines;
  for (const std::string& line : cassette_->SelectorLines()) lines << QString::fromLatin1(line);
  return lines;
}

void TKivRecForm::messageMouseDown() {
  // The press that opens the list must not start dragging the panel when the list closes.
  ZvSkin1->SetMoveable(false);
  ListNotations1Click();
  MoveableTimer.start();
}

void TKivRecForm::ListNotations1Click() {
  if (!MayEditMessages()) return;
  if (!Reported(cassette_->EnsureStreamOpen())) return;
  const QStringList lines = SelectorLines();
  if (lines.isEmpty()) {
    cassette_->CloseStream();
    return;
  }

  TNoteMessage selector(this);
  selector.SetLines(lines);
  selectorResult_ = -1;
  selector.SelectLine(int(cassette_->CurrentMessage()) - 1);
  // The message number's hint is the remaining recording time.
  selector.SetCaptionHint(message->toolTip());

  auto refill = [this, &selector] {
    const QStringList now = SelectorLines();
    if (now.isEmpty()) {
      // The last message went: there is nothing left to choose from.
      selector.reject();
    } else {
      selector.SetLines(now);
    }
  };
  connect(&selector, &TNoteMessage::DeleteRequested, this, [this, refill](int index) {
    if (!Reported(cassette_->EnsureStreamOpen())) return;
    ShowSelectedMessage(cassette_->SelectMessage(uint32_t(index + 1)));
    DeleteCurrentMessage();
    refill();
  });
  connect(&selector, &TNoteMessage::EditNameRequested, this, [this, refill](int index) {
    const auto number = uint32_t(index + 1);
    RenameFromDialog(number, QString::fromLatin1(NoteOf(cassette_->NameTextOfMessage(number))));
    refill();
  });
  connect(&selector, &TNoteMessage::HelpRequested, this, [this] { OpenHelp(); });

  services_.dialogs->ExecModal(selector);
  update();
  selectorResult_ = selector.SelectorResult();
  if (selectorResult_ != -1) {
    ShowSelectedMessage(cassette_->SelectMessage(uint32_t(selectorResult_ + 1)));
  }
  cassette_->CloseStream();
  RefreshRemainingTime();
}

}  // namespace kiv
