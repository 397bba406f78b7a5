// The Exact Time Positioner window.
#include "app/TETPForm.h"

#include <QEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

#include "app/EtpHost.h"
#include "app/TCGauge.h"

namespace kiv {
namespace {

// Windows keeps colours as 0x00BBGGRR.
QColor FromWindowsColor(uint32_t bgr) {
  return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

}  // namespace

StepKeys TETPForm::StepKeysOf(Qt::KeyboardModifiers modifiers) {
  // The modifiers that choose a step; the keypad flag some systems add to arrow keys does not.
  const Qt::KeyboardModifiers keys =
      modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (keys == Qt::ControlModifier) return StepKeys::Ctrl;
  if (keys == (Qt::ControlModifier | Qt::ShiftModifier)) return StepKeys::CtrlShift;
  return StepKeys::Plain;
}

TETPForm::TETPForm(EtpHost& host, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), host_(host) {
  setObjectName(QStringLiteral("ETPForm"));
  setWindowTitle(QStringLiteral("Exact Time Positioner"));
  setModal(true);
  setFixedSize(kClientWidth, kClientHeight);

  ETP = new TCGauge(this);
  ETP->setObjectName(QStringLiteral("ETP"));
  ETP->setGeometry(rect());
  ETP->SetColors(Qt::white, FromWindowsColor(kBarColor));
  ETP->SetRange(0, 0);

  // The label lies over the whole bar, so a pointer position on it is a position on the bar.
  Label1 = new QLabel(QStringLiteral("0% (00:00)"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(rect());
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setTextFormat(Qt::PlainText);
  Label1->setAutoFillBackground(false);
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(8);
  font.setBold(true);
  Label1->setFont(font);
  QPalette palette = Label1->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 128));  // navy
  Label1->setPalette(palette);
  Label1->installEventFilter(this);

  ETPTimer = new QTimer(this);
  ETPTimer->setObjectName(QStringLiteral("ETPTimer"));
  ETPTimer->setInterval(kTimerInterval);
  connect(ETPTimer, &QTimer::timeout, this, &TETPForm::ETPTimerTimer);
}

void TETPForm::Open(uint32_t messageLength, uint32_t progress, uint32_t playRate) {
  StopKeyRepeat();
  dragging_ = false;
  fine_ = false;
  // The bar counts in int; no cassette comes near that.
  maximum_ = std::min<uint32_t>(messageLength, INT_MAX);
  playRate_ = playRate;
  ETP->SetRange(0, int(maximum_));
  ETP->SetProgress(int(std::min(progress, maximum_)));
}

QPoint TETPForm::EtpPlacement(QPoint cursor, int counterHeight, QSize windowSize,
                              QSize screenSize) {
  int left = cursor.x();
  int top = cursor.y() + counterHeight + 5;
  if (left + windowSize.width() > screenSize.width()) {
    left = screenSize.width() - windowSize.width();
  }
  if (top + windowSize.height() > screenSize.height()) {
    top = screenSize.height() - 2 * windowSize.height();
  }
  return {left, top};
}

uint32_t TETPForm::Progress() const { return uint32_t(ETP->Progress()); }

void TETPForm::UpdateEtpLabel() {
  const uint32_t progress = Progress();
  // Whole percent, rounded down; exact in integers, where floating point could land a hair
  // below a whole number and show one percent less.
  const uint64_t percent = progress == 0 ? 0 : uint64_t(progress) * 100 / maximum_;
  // The counter reads "01:40 / 00:25"; what follows the "/" keeps its leading space. A counter
  // without "/" is shown whole.
  const QString counter = host_.CounterText();
  const QString position = counter.mid(counter.indexOf(u'/') + 1);
  Label1->setText(QString::number(percent) + QStringLiteral("% (") + position +
                  QStringLiteral(")"));
}

void TETPForm::ETPTimerTimer() {
  if (etpTimerTag_ == kTagIdle) return;
  const int64_t step = int64_t(
      TransportController::SeekStep(maximum_, playRate_, fine_ ? StepKeys::CtrlShift : StepKeys::Ctrl));
  const int64_t progress = Progress();
  MoveTo(etpTimerTag_ == kTagForward ? progress + step : progress - step);
}

bool TETPForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Label1) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      Label1MouseDown(static_cast<QMouseEvent*>(event)->position().toPoint().x());
      return true;
    case QEvent::MouseMove:
      Label1MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint().x());
      return true;
    case QEvent::MouseButtonRelease:
      Label1MouseUp();
      return true;
    case QEvent::Wheel:
      // Qt passes a wheel event on to the window only when it came from the system itself.
      wheelEvent(static_cast<QWheelEvent*>(event));
      return true;
    default:
      return QDialog::eventFilter(watched, event);
  }
}

void TETPForm::Label1MouseDown(int x) {
  dragging_ = true;
  MoveTo(ProgressAt(x));
}

void TETPForm::Label1MouseMove(int x) {
  if (dragging_) MoveTo(ProgressAt(x));
}

void TETPForm::Label1MouseUp() {
  dragging_ = false;
  StopKeyRepeat();
  close();
}

void TETPForm::keyPressEvent(QKeyEvent* event) {
  // Escape does not close the positioner: letting go of Ctrl or the mouse button does.
  if (!FormKeyDown(event->key(), event->modifiers())) event->ignore();
}

void TETPForm::keyReleaseEvent(QKeyEvent* event) {
  // Some systems send a release before every repeated press of a held key; the key is still
  // down, so the stepping goes on.
  if (event->isAutoRepeat()) return;
  if (!FormKeyUp(event->key(), event->modifiers())) event->ignore();
}

bool TETPForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (!modifiers.testFlag(Qt::ControlModifier)) return false;
  if (key != Qt::Key_Right && key != Qt::Key_Left) return false;
  etpTimerTag_ = key == Qt::Key_Right ? kTagForward : kTagBack;
  fine_ = modifiers.testFlag(Qt::ShiftModifier) || modifiers.testFlag(Qt::AltModifier);
  // Repeated presses of the held key must not restart the interval, or a key repeating faster
  // than the timer would never let it tick.
  if (!ETPTimer->isActive()) ETPTimer->start();
  return true;
}

bool TETPForm::FormKeyUp(int key, Qt::KeyboardModifiers modifiers) {
  if (key == Qt::Key_Control) {
    StopKeyRepeat();
    close();
    return true;
  }
  if (modifiers.testFlag(Qt::ControlModifier) && (key == Qt::Key_Right || key == Qt::Key_Left)) {
    StopKeyRepeat();
    return true;
  }
  return false;
}

void TETPForm::wheelEvent(QWheelEvent* event) {
  // Some systems turn a wheel with Shift held into a sideways one.
  const QPoint turned = event->angleDelta();
  FormMouseWheel(turned.y() != 0 ? turned.y() : turned.x(), event->modifiers());
  event->accept();
}

void TETPForm::FormMouseWheel(int delta, Qt::KeyboardModifiers modifiers) {
  if (delta == 0) return;
  const int64_t step = int64_t(TransportController::SeekStep(maximum_, playRate_, StepKeysOf(modifiers)));
  const int64_t progress = Progress();
  // Away from the user moves towards the end.
  MoveTo(delta > 0 ? progress + step : progress - step);
}

void TETPForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Keys held from the panel step on in here, so the positioner takes the keyboard at once,
  // even where a tool window would not be activated by being shown.
  activateWindow();
  UpdateEtpLabel();
}

void TETPForm::hideEvent(QHideEvent* event) {
  // However the window went (its frame's close box included), a held key must not go on
  // stepping behind it.
  StopKeyRepeat();
  dragging_ = false;
  QDialog::hideEvent(event);
}

int64_t TETPForm::ProgressAt(int x) const {
  // A drag past the left edge gives a negative x, which the clamp turns into the start.
  return int64_t(maximum_) * x / std::max(1, ETP->width());
}

void TETPForm::MoveTo(int64_t progress) {
  ETP->SetProgress(int(std::clamp<int64_t>(progress, 0, maximum_)));
  ApplyEtpPosition();
}

void TETPForm::ApplyEtpPosition() {
  host_.ApplyEtpPosition(Progress());
  UpdateEtpLabel();
}

void TETPForm::StopKeyRepeat() {
  etpTimerTag_ = kTagIdle;
  ETPTimer->stop();
}

}  // namespace kiv
