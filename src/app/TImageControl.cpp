// Picture keys of the panel.
#include "app/TImageControl.h"

#include <QMouseEvent>
#include <QPixmap>

namespace kiv {

TImageControl::TImageControl(QWidget* parent) : QLabel(parent) {}

void TImageControl::SetPicture(const QImage& picture) {
  picture_ = picture;
  setPixmap(QPixmap::fromImage(picture));
  if (!stretch_) resize(picture.size());
}

void TImageControl::SetStretch(bool stretch) {
  stretch_ = stretch;
  setScaledContents(stretch);
}

void TImageControl::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  Q_EMIT MousePressed(event->button(), event->modifiers());
}

void TImageControl::mouseReleaseEvent(QMouseEvent* event) {
  Q_EMIT MouseReleased(event->button(), event->modifiers());
  // A click is a left press and release over the control, as a key works.
  if (pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    Q_EMIT Clicked();
  }
  pressed_ = false;
}

void TImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Q_EMIT DoubleClicked();
}

void TImageControl::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  Q_EMIT MouseEntered();
}

void TImageControl::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  Q_EMIT MouseLeft();
}

}  // namespace kiv
