// The identifiers of the panel's menu items, one per item in menu order. The panel builds its
// menus from this list and the engines name the items they switch on and off with it, so a
// wrong name does not compile. Plain C++: the layers below the panel can use it.
#pragma once

#include <cstddef>

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

}  // namespace kiv
