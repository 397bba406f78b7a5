#include "app/TInfoForm.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "mailweb/TGoToWeb.h"
#include "mailweb/WebAddresses.h"

namespace kiv {
namespace {

constexpr QSize kSize(486, 256);
constexpr QRect kClickHere(18, 198, 194, 55);
constexpr QRect kCheckArea(226, 230, 257, 17);
constexpr QPoint kCheckBox(229, 232);
constexpr int kCloseAfterMs = 30000;

}  // namespace

TInfoForm::TInfoForm(DesktopLauncher& launcher, const QString& programFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      GoToWeb1(std::make_unique<TGoToWeb>(launcher, TBrowserState::gwMaximized)),
      picture_(programFolder + QStringLiteral("Info.bmp")) {
  setWindowTitle(QStringLiteral("Kiv Sound Recorder"));
  setFixedSize(kSize);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  clickHere_ = new QWidget(this);
  clickHere_->setObjectName(QStringLiteral("ClickHere"));
  clickHere_->setGeometry(kClickHere);
  clickHere_->setCursor(Qt::PointingHandCursor);
  clickHere_->installEventFilter(this);
  highlight_ = new QLabel(clickHere_);
  highlight_->setPixmap(QPixmap(programFolder + QStringLiteral("InfoHot.bmp")));
  highlight_->setGeometry(0, 0, kClickHere.width(), kClickHere.height());
  highlight_->setAttribute(Qt::WA_TransparentForMouseEvents);
  highlight_->hide();

  checkArea_ = new QWidget(this);
  checkArea_->setObjectName(QStringLiteral("CheckArea"));
  checkArea_->setGeometry(kCheckArea);
  checkArea_->installEventFilter(this);
  // The box's caption is part of the picture; the whole line is its click area.
  CheckBox1 = new QCheckBox(this);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->move(kCheckBox);
  CheckBox1->resize(CheckBox1->sizeHint().boundedTo(QSize(16, 16)));
  CheckBox1->setAttribute(Qt::WA_TransparentForMouseEvents);
  CheckBox1->setFocusPolicy(Qt::NoFocus);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kCloseAfterMs);
  Timer1->setSingleShot(true);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

TInfoForm::~TInfoForm() = default;

bool TInfoForm::DontShowAgain() const { return CheckBox1->isChecked(); }
void TInfoForm::SetDontShowAgain(bool ticked) { CheckBox1->setChecked(ticked); }

void TInfoForm::Timer1Timer() {
  Timer1->stop();
  accept();
}

void TInfoForm::ClickHereClick() {
  Timer1->stop();
  GoToWeb1->Url = AdvertisedPage();
  GoToWeb1->Execute();
}

void TInfoForm::CheckAreaClick() {
  Timer1->stop();
  CheckBox1->toggle();
}

void TInfoForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Timer1->start();
}

void TInfoForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_.isNull()) {
    painter.fillRect(rect(), palette().window());
  } else {
    painter.drawImage(rect(), picture_);
  }
}

void TInfoForm::mousePressEvent(QMouseEvent* event) { event->accept(); }

void TInfoForm::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  Timer1->stop();
  accept();
}

bool TInfoForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == clickHere_ && event->type() == QEvent::Enter) highlight_->show();
  if (watched == clickHere_ && event->type() == QEvent::Leave) highlight_->hide();
  // The places take their own presses, so the release comes back to them and not to the picture.
  if (event->type() == QEvent::MouseButtonPress && (watched == clickHere_ || watched == checkArea_)) {
    event->accept();
    return true;
  }
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == clickHere_) {
      ClickHereClick();
      return true;
    }
    if (watched == checkArea_) {
      CheckAreaClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kiv
