// The panel picture that is also the window: shows the skin's panel bitmap, gives the top-level
// window it sits on the outline of the bitmap's opaque pixels, and drags that window when the
// user presses the left button anywhere on the panel.
//
// The control fills its parent, which must be the panel's top-level window; it follows the
// parent's size. The transparent colour is the colour of the picture's bottom-left pixel. The
// outline is made of one run per stretch of opaque pixels in a row, and it never includes the
// picture's last column: skins are drawn for that rule, and their right edge is laid out with it.
//
// The window owns the mask once it is handed over (setMask); the control keeps a copy only to
// know what it handed over. The main window reacts to the mouse through the signals; the
// control drags by itself while `Moveable` is true.
#pragma once

#include <functional>

#include <QImage>
#include <QRegion>
#include <QWidget>

namespace kiv {

class TBMShapedForm : public QWidget {
  Q_OBJECT

 public:
  explicit TBMShapedForm(QWidget* parent);

  // Calls `addRegion(x1, x2, y)` for each run of the picture, in row order, exactly as the
  // outline is built, including the empty run (x2 < x1) that a row ending in an unopened run
  // gives at its last column.
  static void ScanRuns(const QImage& picture,
                       const std::function<void(int x1, int x2, int y)>& addRegion);
  // The outline of `picture` in its own coordinates; empty when it has no opaque run.
  static QRegion RegionOf(const QImage& picture);
  // Adds the one-pixel-high run from x1 to x2 inclusive on row y; nothing when x2 < x1.
  static void AddRegion(QRegion& region, int x1, int x2, int y);

  QImage Picture() const { return picture_; }
  // A new picture recomputes the outline and hands it to the window.
  void SetPicture(const QImage& picture);

  bool Moveable() const { return moveable_; }
  void SetMoveable(bool moveable) { moveable_ = moveable; }

  // Exactly one of AutoSize and Stretch is on: switching one of them switches the other to the
  // opposite. AutoSize (the start) gives the window the picture's size; Stretch draws the picture
  // over the control's size and samples the outline there.
  bool AutoSize() const { return autoSize_; }
  bool Stretch() const { return !autoSize_; }
  void SetAutoSize(bool autoSize);
  void SetStretch(bool stretch);

  // The outline last computed, in window coordinates, and whether the window has it.
  QRegion Region() const { return region_; }
  bool RegionHandedOver() const { return handedOver_; }

  // Recomputes the outline from the picture and hands it to the window.
  void PictureUpdate();

 Q_SIGNALS:
  void MousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
  void MouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);
  void MouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
  void Clicked();
  void DoubleClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void ObtainRegion();
  void RefreshForm();

  QImage picture_;
  bool moveable_ = true;
  bool autoSize_ = true;
  QRegion region_;  // empty: no outline yet
  bool handedOver_ = false;
  QSize rememberedSize_;  // the control's size when the outline was computed
  QSize regionSize_;      // the size the picture is sampled at
  QPoint pressPoint_;
  bool clicked_ = false;   // a left press on the control that a release may turn into a click
  bool updating_ = false;  // PictureUpdate runs; the window's resize must not start another
};

}  // namespace kiv
