// Putting a window into the topmost band and taking it out again, for the panel's "Always on
// Top" and for the dance around dialogs. The window stays where it is and keeps its visibility.
#pragma once

class QWidget;

namespace kiv {

// Sets or clears Qt::WindowStaysOnTopHint on `window`'s top-level window. Qt gives a window whose
// flags change a new native window and hides it, so a visible window is shown again at the same
// place without taking the focus. The window therefore sees a hide and a show event, and its
// native handle changes: ask windowHandle()->winId() for the current one, as QWidget::winId() can
// lag behind on X11. Nothing happens when the window is already in the asked state or `window`
// is null.
void ApplyTopmost(QWidget* window, bool on);

// True while ApplyTopmost is hiding and re-showing `window`'s top-level window, so that its hide
// and show handlers can tell these events from the user hiding or showing the panel.
bool IsChangingTopmost(const QWidget* window);

// Whether `window`'s top-level window asks to stay on top.
bool IsTopmost(const QWidget* window);

}  // namespace kiv
