#include "app/TAboutForm.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "app/TImageControl.h"
#include "mailweb/WebAddresses.h"

namespace kiv {
namespace {

constexpr int kWidth = 345;
constexpr int kHeight = 338;

QLabel* TextLabel(const char* name, const QString& text, QRect box, QWidget* parent, bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(box);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 3);
    label->setFont(font);
  }
  return label;
}

QPushButton* Button(const char* name, const char* caption, QRect box, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(box);
  return button;
}

}  // namespace

TAboutForm::TAboutForm(const QString& logoFile, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Kiv Sound Recorder"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setFixedSize(kWidth, kHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  auto* logoPanel = new QFrame(this);
  logoPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  logoPanel->setGeometry(12, 12, 100, 100);
  auto* logo = new TImageControl(logoPanel);
  logo->setObjectName(QStringLiteral("ProImage1"));
  logo->SetStretch(true);
  logo->setGeometry(2, 2, 96, 96);
  logo->SetPicture(QImage(logoFile));
  logo->setCursor(Qt::PointingHandCursor);
  connect(logo, &TImageControl::Clicked, this, &TAboutForm::HomePageRequested);

  TextLabel("Label1", QStringLiteral("Kiv Sound Recorder"), {124, 16, 210, 24}, this, true);
  TextLabel("Label2", QStringLiteral("Version 3.4  (build: 34040715)"), {124, 44, 210, 18}, this);
  TextLabel("Label3", QStringLiteral("Zorvikware"), {124, 64, 210, 18}, this);
  TextLabel("Label6", QStringLiteral("Technical support: ") + SupportAddress(), {12, 124, 321, 18}, this);
  TextLabel("Label7", QStringLiteral("Home page: ") + HomePage(), {12, 144, 321, 18}, this);

  auto* memo = new QPlainTextEdit(this);
  memo->setObjectName(QStringLiteral("Memo1"));
  memo->setReadOnly(true);
  memo->setFocusPolicy(Qt::NoFocus);
  memo->setGeometry(12, 170, 321, 66);
  memo->setPlainText(QStringLiteral(
      "Kiv Sound Recorder costs you nothing: the other\n"
      "programs of Zorvikware pay for its development.\n"
      "If you like it, tell a friend about it."));

  connect(Button("btnMail", "Compose New Mail Message", {12, 246, 321, 26}, this),
          &QPushButton::clicked, this, [this] { Q_EMIT MailRequested(SupportMailAddress()); });
  connect(Button("btnBrowser", "Open in New Browser Window", {12, 276, 321, 26}, this),
          &QPushButton::clicked, this, &TAboutForm::HomePageRequested);
  QPushButton* close = Button("btnClose", "Close", {258, 306, 75, 26}, this);
  close->setDefault(true);  // Enter closes; Escape closes as every dialog's cancel does
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

QString TAboutForm::SupportMailAddress() const {
  return QStringLiteral("mailto:") + SupportAddress() + QStringLiteral("?subject=Support request:  ") +
         findChild<QLabel*>(QStringLiteral("Label1"))->text() + QStringLiteral("  ") +
         findChild<QLabel*>(QStringLiteral("Label2"))->text();
}

void TAboutForm::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F11 && !event->isAutoRepeat()) {
    Q_EMIT HelpRequested();
    return;
  }
  QDialog::keyReleaseEvent(event);
}

}  // namespace kiv
