// The recording memory full window.
#include "app/TLimitForm.h"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kiv {
namespace {

constexpr int kTextWidth = 420;

QLabel* TextLabel(const QString& name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  // A wrapping label picks its own width; a fixed one makes the window's height follow the
  // texts.
  label->setFixedWidth(kTextWidth);
  return label;
}

}  // namespace

TLimitForm::TLimitForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("LimitForm"));
  setWindowTitle(QStringLiteral("Recording memory full"));
  setModal(true);

  Label1 = TextLabel(QStringLiteral("Label1"),
                     QStringLiteral("You have used all 10 minutes of Kiv Sound Recorder's "
                                    "recording capacity. You have to delete some or all "
                                    "messages to be able to make new recordings."),
                     this);
  QPalette maroon = Label1->palette();
  maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
  Label1->setPalette(maroon);
  Label2 = TextLabel(QStringLiteral("Label2"),
                     QStringLiteral("You can export important messages to WAV sound files "
                                    "first."),
                     this);
  Label4 = TextLabel(QStringLiteral("Label4"),
                     QStringLiteral("To do that click SET and use Export Message to WAV for "
                                    "each message."),
                     this);
  Label3 = TextLabel(QStringLiteral("Label3"),
                     QStringLiteral("To delete current message use DEL on the front panel or "
                                    "right click on the ticker area and use either Delete "
                                    "Message or Delete All Messages."),
                     this);

  Bevel1 = new QFrame(this);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Memo1 = new QLabel(QStringLiteral("Kiv Sound Recorder: your pocket dictaphone on the desktop.\n"
                                    "Ten minutes of tape for ideas, reminders and notes.\n"
                                    "Keep the ones that matter, wipe the rest, record on!"),
                     Bevel1);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setTextFormat(Qt::PlainText);
  Memo1->setAlignment(Qt::AlignCenter);
  QFont bold = Memo1->font();
  bold.setBold(true);
  Memo1->setFont(bold);
  auto* bevelLayout = new QVBoxLayout(Bevel1);
  bevelLayout->setContentsMargins(8, 6, 8, 6);
  bevelLayout->addWidget(Memo1);

  btnClose = new QPushButton(QStringLiteral("Close"), this);
  btnClose->setObjectName(QStringLiteral("btnClose"));
  btnClose->setDefault(true);
  connect(btnClose, &QPushButton::clicked, this, &TLimitForm::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnClose);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(Label1);
  layout->addSpacing(6);
  layout->addWidget(Label2);
  layout->addWidget(Label4);
  layout->addSpacing(6);
  layout->addWidget(Label3);
  layout->addSpacing(6);
  layout->addWidget(Bevel1);
  layout->addLayout(buttons);
}

void TLimitForm::setVisible(bool visible) {
  // Placed before it appears, so it does not jump: in the middle of the screen rather than over
  // the panel, which may sit in a corner.
  if (visible && !isVisible()) {
    // Each wrapped text gets the height of its lines, in the style's fonts, which only hold once
    // the window is polished; the window's fixed size then adds them up. Left to the layout,
    // the window came out a few lines short.
    ensurePolished();
    for (QLabel* label : {Label1, Label2, Label4, Label3}) {
      label->setFixedHeight(label->heightForWidth(kTextWidth));
    }
    layout()->activate();
    // The frame is not known before the window first shows, so the inside is what is centred.
    if (QScreen* shownOn = screen()) {
      QRect inside(QPoint(), size());
      inside.moveCenter(shownOn->geometry().center());
      setGeometry(inside);
    }
    btnClose->setFocus();
  }
  QDialog::setVisible(visible);
}

}  // namespace kiv
