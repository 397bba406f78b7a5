// The topmost dance around a dialog: while a message box or modal dialog is up, a panel that
// always stays on top would cover it, so the panel leaves the topmost band for the dialog's
// lifetime and returns when the dialog has closed. Lives on the stack around the dialog; the
// panel is not owned and may go away meanwhile.
#pragma once

#include <QPointer>
#include <QWidget>

namespace kiv {

class TopmostDance {
 public:
  // Takes `panel` out of the topmost band when `onTop` (the "OnTop" setting is "ON").
  TopmostDance(QWidget* panel, bool onTop);
  // Puts it back into the topmost band if it was taken out.
  ~TopmostDance();

  TopmostDance(const TopmostDance&) = delete;
  TopmostDance& operator=(const TopmostDance&) = delete;

  bool Dropped() const { return dropped_; }

 private:
  QPointer<QWidget> panel_;
  bool dropped_ = false;
};

}  // namespace kiv
