// The panel's three pop-up menus, item by item in their order: the tray menu (PopupMenu1), the
// settings menu behind the settings key (PopupMenu2) and the ticker menu (PopupMenu3). Every item
// has a MenuItem identifier, which is how the panel wires handlers and tests find items, so a
// wrong name does not compile. Each item's QAction also carries its name as object name (e.g.
// "AlwaysonTop1"), for tools that inspect the widgets.
#pragma once

#include <array>

#include <QMenu>
#include <QString>

namespace kiv {

// Every item, in menu order. The identifier is also the item's object name.
#define KIVREC_MENU_ITEMS(X)                                                                   \
  /* Tray menu. */                                                                             \
  X(TellAFriend1) X(ShowDictaphen1) X(AlwaysonTop2) X(Record1) X(Play1) X(Settings1) X(Help1)  \
  X(About1) X(ShowInfo1) X(Exit1)                                                              \
  /* Settings menu; Volumes1 is the "Volume Controls" submenu. */                              \
  X(TellAFriend2) X(ExportMessage1) X(ImportWAVMP31) X(ShowInfo2) X(About2) X(Help2)           \
  X(Volumes1) X(AlwaysonTop1) X(Shortcuts1) X(Settings2)                                       \
  /* Ticker menu; Speed1 and Direction1 are submenus. */                                       \
  X(delMsg) X(DeleteCassette1) X(ListNotations1) X(EnterNote1) X(Customtext1)                  \
  X(Speed1) X(Slow1) X(Medium1) X(Fast1) X(Direction1) X(Left1) X(Right1) X(None1)

enum class MenuItem {
#define KIVREC_MENU_ITEM_ENUM(name) name,
  KIVREC_MENU_ITEMS(KIVREC_MENU_ITEM_ENUM)
#undef KIVREC_MENU_ITEM_ENUM
};
#define KIVREC_MENU_ITEM_ONE(name) +1
inline constexpr int kMenuItemCount = 0 KIVREC_MENU_ITEMS(KIVREC_MENU_ITEM_ONE);
#undef KIVREC_MENU_ITEM_ONE

// The item's object name, which is its identifier's name.
const char* MenuItemName(MenuItem item);

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
  // The item whose object name is `name`, or nullptr. Only for the engines' views: the audio
  // layer lies below the panel and cannot name a MenuItem.
  QAction* ItemNamed(const QString& name) const;

 private:
  QAction* Add(QMenu* menu, MenuItem item, const char* caption);
  QMenu* AddSubmenu(QMenu* menu, MenuItem item, const char* caption);

  std::array<QAction*, kMenuItemCount> items_{};
};

}  // namespace kiv
