// The panel's three pop-up menus, item by item in their order: the tray menu (PopupMenu1), the
// settings menu behind the settings key (PopupMenu2) and the ticker menu (PopupMenu3). Every
// item is a QAction whose object name is the item's name (e.g. "AlwaysonTop1"), so the panel
// wires handlers and tests find items by name.
#pragma once

#include <QMenu>
#include <QString>

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

  // The item named `name` in any of the menus; nullptr when there is none.
  QAction* Item(const QString& name) const;

 private:
  QAction* Add(QMenu* menu, const char* name, const char* caption);
};

}  // namespace kiv
