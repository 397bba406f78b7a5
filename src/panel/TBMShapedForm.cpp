#include "panel/TBMShapedForm.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kiv {

TBMShapedForm::TBMShapedForm(QWidget* parent) : QWidget(parent) {
  // The main window's pointer-over-panel handler needs moves without a button as well.
  setMouseTracking(true);
  if (parent != nullptr) {
    parent->installEventFilter(this);
    setGeometry(parent->rect());
  }
  // The panel is the background: keys, labels and the ticker made before or after it lie on it.
  lower();
}

void TBMShapedForm::ScanRuns(const QImage& picture,
                             const std::function<void(int x1, int x2, int y)>& addRegion) {
  if (picture.isNull()) return;
  // Colours compare on their 24 colour bits; whatever a 32-bit bitmap keeps in the fourth byte
  // does not make a pixel transparent or opaque.
  const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  const int width = image.width();
  const int height = image.height();
  const QRgb transparent = image.pixel(0, height - 1) & 0xFFFFFFu;

  for (int y = 0; y < height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    int start = -1;
    for (int x = 0; x < width; ++x) {
      const bool clear = (line[x] & 0xFFFFFFu) == transparent;
      const bool last = x == width - 1;
      if ((!clear || last) && start < 0) start = x;
      if ((clear || last) && start >= 0) {
        addRegion(start, x - 1, y);
        start = -1;
      }
    }
  }
}

QRegion TBMShapedForm::RegionOf(const QImage& picture) {
  QRegion region;
  ScanRuns(picture, [&region](int x1, int x2, int y) { AddRegion(region, x1, x2, y); });
  return region;
}

void TBMShapedForm::AddRegion(QRegion& region, int x1, int x2, int y) {
  if (x2 < x1) return;
  region += QRect(x1, y, x2 - x1 + 1, 1);
}

void TBMShapedForm::SetPicture(const QImage& picture) {
  picture_ = picture;
  PictureUpdate();
  update();
}

void TBMShapedForm::SetAutoSize(bool autoSize) {
  if (autoSize == autoSize_) return;
  autoSize_ = autoSize;
  PictureUpdate();
  update();
}

void TBMShapedForm::SetStretch(bool stretch) { SetAutoSize(!stretch); }

void TBMShapedForm::PictureUpdate() {
  if (updating_) return;
  updating_ = true;
  // The window owns the outline it was given; forgetting ours makes the next one computed anew.
  region_ = QRegion();
  QWidget* window = parentWidget();
  if (autoSize_ && window != nullptr && !picture_.isNull()) {
    window->resize(picture_.size());
    regionSize_ = picture_.size();
  } else {
    regionSize_ = size();
  }
  if (window != nullptr) setGeometry(window->rect());
  ObtainRegion();
  RefreshForm();
  updating_ = false;
}

void TBMShapedForm::ObtainRegion() {
  if (parentWidget() == nullptr || picture_.isNull()) return;
  if (!region_.isEmpty() && regionSize_ == rememberedSize_) return;
  rememberedSize_ = size();
  region_ = QRegion();

  // A window mask is given in client coordinates, where the client area starts at 0,0 whatever
  // frame the window has; a frame offset never has to be added.
  const QPoint clientOffset(0, 0);

  const QImage sampled =
      regionSize_ == picture_.size()
          ? picture_
          : picture_.scaled(regionSize_, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  region_ = RegionOf(sampled);
  if (!region_.isEmpty()) region_.translate(clientOffset);
  handedOver_ = false;
}

void TBMShapedForm::RefreshForm() {
  QWidget* window = parentWidget();
  if (window == nullptr || region_.isEmpty()) return;
  // Hidden while the outline changes, so the panel is drawn once, inside the new outline.
  const bool shown = !isHidden();
  if (shown) hide();
  window->setMask(region_);
  handedOver_ = true;
  if (shown) show();
}

bool TBMShapedForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) {
    setGeometry(parentWidget()->rect());
  }
  return QWidget::eventFilter(watched, event);
}

void TBMShapedForm::paintEvent(QPaintEvent* /*event*/) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  if (Stretch()) {
    painter.drawImage(rect(), picture_);
  } else {
    painter.drawImage(QPoint(0, 0), picture_);
  }
}

void TBMShapedForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (parentWidget() != nullptr) PictureUpdate();
}

void TBMShapedForm::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  Q_EMIT MousePressed(event->button(), event->modifiers(), pos);
  pressPoint_ = pos;
  if (event->button() == Qt::LeftButton) clicked_ = true;
}

void TBMShapedForm::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  Q_EMIT MouseMoved(event->buttons(), event->modifiers(), pos);

  const Qt::KeyboardModifiers held =
      event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  QWidget* window = parentWidget();
  if (!moveable_ || window == nullptr || event->buttons() != Qt::LeftButton ||
      held != Qt::NoModifier) {
    return;
  }
  // The control moves with the window, so the pointer stays over the press point and each step
  // is relative to it.
  window->move(window->pos() + (pos - pressPoint_));
  window->update();
}

void TBMShapedForm::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  // A click comes before the release is reported, as the main window's handlers expect.
  if (event->button() == Qt::LeftButton && clicked_) {
    clicked_ = false;
    if (rect().contains(pos)) Q_EMIT Clicked();
  }
  Q_EMIT MouseReleased(event->button(), event->modifiers(), pos);
}

void TBMShapedForm::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  Q_EMIT DoubleClicked();
  // The second press of a double click is still a press, but its release is not a click.
  Q_EMIT MousePressed(event->button(), event->modifiers(), pos);
  pressPoint_ = pos;
}

}  // namespace kiv
