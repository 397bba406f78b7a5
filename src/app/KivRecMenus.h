// The panel's three pop-up menus, item by item in their order: the tray menu (PopupMenu1), the
// settings menu behind the settings key (PopupMenu2) and the ticker menu (PopupMenu3). Every item
// has a MenuItem identifier, which is how the panel wires handlers and tests find items, so a
// wrong name does not compile. Each item's QAction also carries its name as object name (e.g.
// "AlwaysonTop1"), for tools that inspect the widgets.
#pragma once

#include <array>

#include <QMenu>
#include <QString>

#include "transport/MenuItem.h"

namespace kiv {

class KivRecMenus {
 public:
  explicit KivRecMenus(QWidget* owner);
  KivRecMenus(const KivRecMenus&) = delete;
  KivRecMenus& operator=(const KivRecMenus&) = delete;

  QMenu* PopupMenu1;  // tray
  QMenu* PopupMenu2;  // settings key
  QMenu* PopupMenu3;  // ticker
  QMenu* Volumes1;    // "Volume Controls", rebuilt at every opening of the settings menu

  // Every item exists from construction on, so this is never nullptr.
  QAction* Item(MenuItem item) const { return items_[size_t(item)]; }

 private:
  QAction* Add(QMenu* menu, MenuItem item, const char* caption);
  QMenu* AddSubmenu(QMenu* menu, MenuItem item, const char* caption);

  std::array<QAction*, kMenuItemCount> items_{};
};

}  // namespace kiv
