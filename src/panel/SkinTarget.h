// What the skin loader changes on the front panel, as an interface the main window implements.
//
// The loader decides what to apply and in which order; the window owns every control and decides
// how. Calls come one row of the key file at a time, so a load that stops half-way leaves the
// rows before it applied, and the window must not wait for a final call to show anything.
// Pictures are handed over by value; the window keeps its own copies.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include "panel/SkinControl.h"

namespace kiv {

// The colours a skin sets that are not a control's text colour.
enum class SkinColor {
  GaugeBack,       // volume indicator background
  GaugeBar,        // volume indicator bar
  TickerBack,      // ticker background
  AnalyserPlay,    // analyser trace while playing
  AnalyserRecord,  // analyser trace while recording
  AnalyserBack,    // analyser background
  LineFill,        // the line under the analyser
};

// A font row of the key file. Only these three properties are the skin's: the window changes
// face, size and the bold flag of the control's current font and keeps the rest (italic,
// underline) as they were. `pointSize` is passed as written, even when it is not positive.
struct SkinFont {
  QString face;
  int pointSize = 0;
  bool bold = false;
  QString fontFile;  // a font file in the skin folder, or "off"
};

class SkinTarget {
 public:
  virtual ~SkinTarget() = default;

  virtual void SetControlVisible(SkinControl control, bool visible) = 0;
  // Moves a key or wheel; its size follows its picture.
  virtual void PlaceControl(SkinControl control, QPoint topLeft) = 0;
  // The resting picture of a key or wheel; the control takes the picture's size.
  virtual void SetControlPicture(SkinControl control, const QImage& picture) = 0;
  // Place and size of a control that has no picture of its own size: gauge, ticker, labels,
  // logo, analyser, line.
  virtual void SetControlBox(SkinControl control, QRect box) = 0;
  virtual void SetControlFont(SkinControl control, const SkinFont& font) = 0;
  // Text colour of the `message` and `Count` labels.
  virtual void SetLabelColor(SkinControl label, QColor color) = 0;
  virtual void SetSkinColor(SkinColor role, QColor color) = 0;
  // Ticker colour tags 1 to 4, each a decimal colour number followed by "%".
  virtual void SetTickerColorTag(int number, const QString& tag) = 0;
  // Called once the ticker's font is in place, so the window can restart its ticker with the
  // custom text and the user's scroll direction.
  virtual void TickerFontApplied() = 0;
  // The logo is stretched to its box; a click on it opens `link`, `hint` is its tool tip.
  virtual void SetLogo(const QImage& picture, const QString& link, const QString& hint) = 0;
  // The panel picture, last of all; it gives the window its size and outline.
  virtual void SetPanelPicture(const QImage& picture) = 0;
};

}  // namespace kiv
