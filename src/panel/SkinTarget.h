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

namespace kiv {

// The panel's controls, by the names the main window gives them.
enum class SkinControl {
  volButton,  // volume key; also shows which way the volume is turning
  CGauge1,    // volume indicator gauge
  PauseButton,
  playButton,
  recButton,
  stopButton,
  delButton,
  moreButton,  // the settings key
  rewSButton,  // previous message
  rewButton,
  forwButton,
  forwEButton,  // next message
  exitButton,   // hides the panel to the tray
  mname,        // the ticker tape
  message,      // message counter label
  Count,        // time counter label
  WheelL,       // left tape wheel
  WheelD,       // right tape wheel
  UserBMP,      // the logo
  PaintBox1,    // graphic analyser area
  Shape2,       // the line under the analyser
  VolPlusButton,
  VolMinusButton,
  ZvSkin1,  // the panel picture, which also gives the window its outline
};

// The control's name as a string, for object names and messages.
inline const char* SkinControlName(SkinControl control) {
  switch (control) {
    case SkinControl::volButton:
      return "volButton";
    case SkinControl::CGauge1:
      return "CGauge1";
    case SkinControl::PauseButton:
      return "PauseButton";
    case SkinControl::playButton:
      return "playButton";
    case SkinControl::recButton:
      return "recButton";
    case SkinControl::stopButton:
      return "stopButton";
    case SkinControl::delButton:
      return "delButton";
    case SkinControl::moreButton:
      return "moreButton";
    case SkinControl::rewSButton:
      return "rewSButton";
    case SkinControl::rewButton:
      return "rewButton";
    case SkinControl::forwButton:
      return "forwButton";
    case SkinControl::forwEButton:
      return "forwEButton";
    case SkinControl::exitButton:
      return "exitButton";
    case SkinControl::mname:
      return "mname";
    case SkinControl::message:
      return "message";
    case SkinControl::Count:
      return "Count";
    case SkinControl::WheelL:
      return "WheelL";
    case SkinControl::WheelD:
      return "WheelD";
    case SkinControl::UserBMP:
      return "UserBMP";
    case SkinControl::PaintBox1:
      return "PaintBox1";
    case SkinControl::Shape2:
      return "Shape2";
    case SkinControl::VolPlusButton:
      return "VolPlusButton";
    case SkinControl::VolMinusButton:
      return "VolMinusButton";
    case SkinControl::ZvSkin1:
      return "ZvSkin1";
  }
  return "";
}

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
