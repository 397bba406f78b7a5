// The text dialog.
#include "app/TMessageNameForm.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kiv {

TMessageNameForm::TMessageNameForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("MessageNameForm"));
  setWindowTitle(QStringLiteral("New Message Name"));
  setModal(true);
  Label1 = new QLabel(QStringLiteral("Enter New Current Message Name:"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  msgN = new QLineEdit(this);
  msgN->setObjectName(QStringLiteral("msgN"));
  msgN->setMinimumWidth(260);
  Button1 = new QPushButton(QStringLiteral("Ok"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setDefault(true);
  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  Button2->setObjectName(QStringLiteral("Button2"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(msgN);
  layout->addLayout(buttons);

  connect(Button1, &QPushButton::clicked, this, [this] { Confirm(); });
  connect(msgN, &QLineEdit::returnPressed, this, [this] { Confirm(); });
  connect(Button2, &QPushButton::clicked, this, &TMessageNameForm::reject);
}

void TMessageNameForm::SetPrompt(const QString& prompt) { Label1->setText(prompt); }
QString TMessageNameForm::Prompt() const { return Label1->text(); }
void TMessageNameForm::SetText(const QString& text) { msgN->setText(text); }
QString TMessageNameForm::Text() const { return msgN->text(); }

void TMessageNameForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  msgN->setFocus();
}

void TMessageNameForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F11) {
    Q_EMIT HelpRequested();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TMessageNameForm::Confirm() {
  if (msgN->text().size() > kMaxTextLength) msgN->setText(msgN->text().left(kMaxTextLength));
  accept();
}

void TMessageNameForm::reject() {
  msgN->clear();
  QDialog::reject();
}

}  // namespace kiv
