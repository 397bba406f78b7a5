#include "transport/MenuItem.h"

#include <array>

namespace kiv {

const char* MenuItemName(MenuItem item) {
  static constexpr std::array<const char*, kMenuItemCount> kNames = {
#define KIVREC_MENU_ITEM_NAME(name) #name,
      KIVREC_MENU_ITEMS(KIVREC_MENU_ITEM_NAME)
#undef KIVREC_MENU_ITEM_NAME
  };
  return kNames[size_t(item)];
}

}  // namespace kiv
