// A picture on the panel that behaves like a key: the skin gives it a picture and a place, the
// panel listens to its mouse signals. Used for every key, the wheels and the logo.
#pragma once

#include <QImage>
#include <QLabel>

namespace kiv {

class TImageControl : public QLabel {
  Q_OBJECT

 public:
  explicit TImageControl(QWidget* parent);

  // The control takes the picture's size unless it stretches its picture over a box.
  void SetPicture(const QImage& picture);
  QImage Picture() const { return picture_; }
  void SetStretch(bool stretch);

 Q_SIGNALS:
  void MousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void MouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void Clicked();
  void DoubleClicked();
  void MouseEntered();
  void MouseLeft();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage picture_;
  bool stretch_ = false;
  bool pressed_ = false;
};

}  // namespace kiv
