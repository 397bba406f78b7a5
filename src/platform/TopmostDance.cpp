#include "platform/TopmostDance.h"

#include "platform/Topmost.h"

namespace kiv {

TopmostDance::TopmostDance(QWidget* panel, bool onTop) : panel_(panel), dropped_(panel && onTop) {
  if (dropped_) ApplyTopmost(panel_, false);
}

TopmostDance::~TopmostDance() {
  // The panel goes back into the band even if it was not in it before: the setting says where
  // it belongs, as at start-up, where the drop comes before the panel was ever made topmost.
  if (dropped_ && panel_) ApplyTopmost(panel_, true);
}

}  // namespace kiv
