#include "panel/TZvTrayIcon.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <climits>

namespace kiv {

namespace {

QString TipFor(const QString& hint, bool showHint) {
  if (!showHint || hint.isEmpty()) return {};
  qsizetype length = std::min<qsizetype>(hint.size(), TZvTrayIcon::kMaxTipLength);
  // A cut through a surrogate pair would leave half a character at the end of the tip.
  if (length < hint.size() && hint.at(length - 1).isHighSurrogate()) --length;
  return hint.left(length);
}

}  // namespace

TZvTrayIcon::TZvTrayIcon(QWidget* mainForm)
    : QObject(mainForm), mainForm_(mainForm), icon_(BuiltInIcon()) {
  // The menu is ours to open, so it is never handed to QSystemTrayIcon as its context menu:
  // that one would open on the right button even while the icon is disabled, and never on the
  // left with LeftPopup.
  connect(&tray_, &QSystemTrayIcon::activated, this, &TZvTrayIcon::HandleActivation);
  connect(&cycleTimer_, &QTimer::timeout, this, &TZvTrayIcon::TimerCycle);
  if (mainForm != nullptr) mainForm->installEventFilter(this);
  ModifyIcon();
}

TZvTrayIcon::~TZvTrayIcon() = default;

QIcon TZvTrayIcon::BuiltInIcon() {
  // A cassette in the sixteen colours every display can show, drawn without smoothing so that
  // each pixel keeps one of them.
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setPen(QColor(0, 0, 0));
  painter.setBrush(QColor(128, 128, 128));
  painter.drawRect(0, 3, 15, 10);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(192, 192, 192));
  painter.drawRect(2, 5, 12, 4);
  painter.setBrush(QColor(0, 0, 128));
  painter.drawRect(5, 6, 6, 2);
  painter.setBrush(QColor(0, 0, 0));
  painter.drawRect(3, 6, 2, 2);
  painter.drawRect(11, 6, 2, 2);
  painter.setBrush(QColor(255, 255, 255));
  painter.drawRect(4, 11, 8, 2);
  painter.end();
  return QIcon(QPixmap::fromImage(image));
}

void TZvTrayIcon::Loaded() {
  if (startMinimized_) HideMainForm();
  ModifyIcon();
  SetIconVisible(iconVisible_);
}

void TZvTrayIcon::SetHint(const QString& hint) {
  hint_ = hint;
  ModifyIcon();
}

void TZvTrayIcon::SetShowHint(bool showHint) {
  showHint_ = showHint;
  ModifyIcon();
}

void TZvTrayIcon::SetIcon(const QIcon& icon) {
  icon_ = icon;
  iconFile_.clear();
  ModifyIcon();
}

bool TZvTrayIcon::LoadIconFromFile(const QString& fileName) {
  QImageReader reader(fileName);
  QIcon loaded;
  QImage image;
  while (reader.read(&image)) {
    loaded.addPixmap(QPixmap::fromImage(image));
    if (!reader.jumpToNextImage()) break;
  }
  if (loaded.isNull()) return false;
  icon_ = loaded;
  iconFile_ = fileName;
  ModifyIcon();
  return true;
}

void TZvTrayIcon::SetIconVisible(bool visible) {
  if (visible) {
    ShowIcon();
  } else {
    HideIcon();
  }
}

bool TZvTrayIcon::ShowIcon() {
  iconVisible_ = true;
  ModifyIcon();
  tray_.show();
  return QSystemTrayIcon::isSystemTrayAvailable();
}

bool TZvTrayIcon::HideIcon() {
  iconVisible_ = false;
  tray_.hide();
  return QSystemTrayIcon::isSystemTrayAvailable();
}

void TZvTrayIcon::ModifyIcon() {
  tray_.setIcon(icon_);
  tray_.setToolTip(TipFor(hint_, showHint_));
}

QMenu* TZvTrayIcon::PopupMenu() const { return popupMenu_; }

void TZvTrayIcon::SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }

void TZvTrayIcon::PopupAtCursor() {
  if (popupMenu_ == nullptr) return;
  // QMenu::popup grabs pointer and keyboard by itself and returns at once, so unlike a native
  // tray menu nothing has to be brought to the foreground first or woken up afterwards.
  popupMenu_->popup(QCursor::pos());
}

void TZvTrayIcon::SetCycleIcons(bool cycleIcons) {
  cycleIcons_ = cycleIcons;
  if (cycleIcons) nextCycleIndex_ = 0;
  UpdateCycleTimer();
}

void TZvTrayIcon::SetCycleInterval(unsigned milliseconds) {
  cycleInterval_ = milliseconds;
  cycleTimer_.setInterval(static_cast<int>(std::min<unsigned>(milliseconds, INT_MAX)));
  UpdateCycleTimer();
}

void TZvTrayIcon::UpdateCycleTimer() {
  // A QTimer of 0 ms would fire on every pass of the event loop; an interval of 0 means that
  // the icons stand still, whatever CycleIcons says.
  if (cycleIcons_ && cycleInterval_ > 0) {
    if (!cycleTimer_.isActive()) cycleTimer_.start();
  } else {
    cycleTimer_.stop();
  }
}

void TZvTrayIcon::TimerCycle() {
  if (iconList_.isEmpty()) return;
  // The list may have been replaced by a shorter one since the last step.
  if (nextCycleIndex_ >= iconList_.size()) nextCycleIndex_ = 0;
  const int index = nextCycleIndex_;
  icon_ = iconList_.at(index);
  iconFile_.clear();
  Q_EMIT Cycle(index);
  ModifyIcon();
  nextCycleIndex_ = index + 1 < iconList_.size() ? index + 1 : 0;
}

void TZvTrayIcon::ShowMainForm() {
  if (mainForm_ == nullptr) return;
  // A form hidden from the minimised state would come back as a button on the task bar.
  if (mainForm_->isMinimized())
    mainForm_->setWindowState(mainForm_->windowState() & ~Qt::WindowMinimized);
  mainForm_->show();
  mainForm_->raise();
  mainForm_->activateWindow();
}

void TZvTrayIcon::HideMainForm() {
  if (mainForm_ != nullptr) mainForm_->hide();
}

void TZvTrayIcon::DoMinimizeToTray() {
  HideMainForm();
  SetIconVisible(true);
}

bool TZvTrayIcon::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mainForm_ && event->type() == QEvent::WindowStateChange && minimizeToTray_ &&
      mainForm_->isMinimized()) {
    // The state changes before QWidget::showMinimized makes the form visible, so a hide here
    // would be undone at once; it waits for the event loop.
    QMetaObject::invokeMethod(this, &TZvTrayIcon::MinimizedMainForm, Qt::QueuedConnection);
  }
  return QObject::eventFilter(watched, event);
}

void TZvTrayIcon::MinimizedMainForm() {
  // Restored again, or switched off, before the event loop came round: nothing to do.
  if (mainForm_ == nullptr || !minimizeToTray_ || !mainForm_->isMinimized()) return;
  if (!mainForm_->isVisible()) return;
  DoMinimizeToTray();
}

void TZvTrayIcon::HandleIconMessage(IconMessage message) {
  if (!enabled_) return;
  const Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
  const QPoint cursor = QCursor::pos();
  switch (message) {
    case IconMessage::MouseMove:
      Q_EMIT MouseMove(modifiers, cursor);
      break;
    case IconMessage::LeftButtonDown:
      Q_EMIT MouseDown(Qt::LeftButton, modifiers, cursor);
      leftButtonDown_ = true;
      if (leftPopup_) PopupAtCursor();
      break;
    case IconMessage::LeftButtonUp:
      // The release that follows a double click had no press of its own and is no click.
      if (leftButtonDown_) {
        leftButtonDown_ = false;
        Q_EMIT Click();
      }
      Q_EMIT MouseUp(Qt::LeftButton, modifiers, cursor);
      break;
    case IconMessage::LeftButtonDblClk:
      Q_EMIT DblClick();
      if (popupMenu_ != nullptr && !leftPopup_) {
        if (QAction* item = popupMenu_->defaultAction()) item->trigger();
      }
      break;
    case IconMessage::RightButtonDown:
      Q_EMIT MouseDown(Qt::RightButton, modifiers, cursor);
      PopupAtCursor();
      break;
    case IconMessage::RightButtonUp:
      Q_EMIT MouseUp(Qt::RightButton, modifiers, cursor);
      break;
    case IconMessage::RightButtonDblClk:
      break;
    case IconMessage::MiddleButtonDown:
      Q_EMIT MouseDown(Qt::MiddleButton, modifiers, cursor);
      break;
    case IconMessage::MiddleButtonUp:
      Q_EMIT MouseUp(Qt::MiddleButton, modifiers, cursor);
      break;
  }
}

void TZvTrayIcon::HandleActivation(QSystemTrayIcon::ActivationReason reason) {
  // Qt reports the first press of a double click as a Trigger and the second as DoubleClick,
  // which is the press, release, double-click, release sequence of a native double click.
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      HandleIconMessage(IconMessage::LeftButtonDown);
      HandleIconMessage(IconMessage::LeftButtonUp);
      break;
    case QSystemTrayIcon::DoubleClick:
      HandleIconMessage(IconMessage::LeftButtonDblClk);
      HandleIconMessage(IconMessage::LeftButtonUp);
      break;
    case QSystemTrayIcon::Context:
      HandleIconMessage(IconMessage::RightButtonDown);
      HandleIconMessage(IconMessage::RightButtonUp);
      break;
    case QSystemTrayIcon::MiddleClick:
      HandleIconMessage(IconMessage::MiddleButtonDown);
      HandleIconMessage(IconMessage::MiddleButtonUp);
      break;
    case QSystemTrayIcon::Unknown:
      break;
  }
}

}  // namespace kiv
