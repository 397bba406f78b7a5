// Writes one skin to disk: the key file `<root>/<name>.set` beside the bitmap folder
// `<root>/<name>/`, with every bitmap the recorder loads from a skin.
//
// The bitmaps are cut from whole-panel pictures (see PanelArt.h), checked (the panel's
// bottom-left pixel is the transparent magenta, no control bitmap holds that magenta) and saved as
// 24-bit Windows bitmaps. Nothing written depends on the time or on chance, so two runs give the
// same bytes.
#pragma once

#include <QString>

#include "SkinDesign.h"

namespace skingen {

// The text of the key file for `design`.
QString KeyFileText(const Design& design);

// Returns an empty string on success, otherwise what went wrong.
QString WriteSkin(const Design& design, const QString& skinRoot);

}  // namespace skingen
