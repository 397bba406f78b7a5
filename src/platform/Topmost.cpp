#include "platform/Topmost.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>

namespace kiv {
namespace {

// The window ApplyTopmost is re-showing right now; the user interface has one thread.
QPointer<const QWidget> changing;

}  // namespace

bool IsTopmost(const QWidget* window) {
  return window && window->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

bool IsChangingTopmost(const QWidget* window) {
  return window && changing && changing == window->window();
}

void ApplyTopmost(QWidget* window, bool on) {
  if (!window) return;
  window = window->window();
  if (IsTopmost(window) == on) return;

  // Changing the hint in place (QWindow::setFlags) only asks the window manager, which may not be
  // there, and X11 remakes the window at its next show anyway. setWindowFlags remakes it now, so
  // the new state holds at once with or without a window manager, at the price of a hide and a
  // show.
  const QPointer<const QWidget> outer = changing;
  changing = window;
  const bool wasVisible = window->isVisible();
  const QPoint position = window->pos();
  window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (wasVisible) {
    window->move(position);
    const bool quietShow = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_ShowWithoutActivating, true);
    window->show();
    window->setAttribute(Qt::WA_ShowWithoutActivating, quietShow);
  }
  changing = outer;
}

}  // namespace kiv
