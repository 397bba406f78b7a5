// The pictures of the recorder's own windows, drawn with the tray icon's dictaphone so the
// program looks like one thing: the logo of the About box, and the start-up panel with its
// "click here" place, its highlight and the caption of its check box.
#pragma once

#include <QImage>

namespace icongen {

// The About box's logo, 96 pixels square.
QImage DrawAboutLogo();
// The start-up panel, 486 by 256; its "click here" place is 194 by 55 at (18, 198), its check
// box sits at (229, 232) with the caption drawn to its right.
QImage DrawStartupPanel();
// The "click here" place while the pointer is over it, 194 by 55.
QImage DrawStartupHighlight();

}  // namespace icongen
