// What one skin looks like, as data: the size and outline of the panel, where every control sits,
// its colours and the fonts of the display. The painter draws from it, and the key file is written
// from the very same numbers, so the art and the key file cannot disagree about a position.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <vector>

namespace skingen {

// The keys of the panel, one per key bitmap family.
enum class KeyId {
  FastRewind,  // previous message
  Rewind,
  Forward,
  FastForward,  // next message
  Record,
  Play,
  Pause,
  Stop,
  Del,
  Settings,
  Off,
  VolMinus,
  VolPlus,
};

enum class KeyShape { RoundRect, Pill, Circle };

enum class Symbol {
  PreviousMessage,
  Rewind,
  Forward,
  NextMessage,
  Record,
  Play,
  Pause,
  Stop,
  DelText,
  Menu,
  Power,
  Minus,
  Plus,
};

struct KeyArt {
  KeyId id;
  QRect box;  // the key's bitmap, exactly where it lies on the panel
  KeyShape shape = KeyShape::RoundRect;
  Symbol symbol;
  QString caption;      // printed on the body under the key; empty for none
  bool red = false;     // the record key
  QColor led;           // lit while pressed; invalid for a key without a lamp
  QColor symbolColour;  // invalid: the skin's usual key symbol colour
};

struct Palette {
  // Body: a horizontal sweep from left through middle to right, brushed by `grain`.
  QColor bodyLeft, bodyMiddle, bodyRight;
  int grain = 0;  // 0..255, strength of the brushed lines
  QColor rim;     // what the anti-aliased outline fades into
  QColor print;   // lettering printed straight on the body
  QColor accent;  // logo dot, small details
  // Key deck: the recessed plate the transport keys sit on.
  QColor deck, deckPrint, recPrint;
  // Keys.
  QColor keyFace, keySymbol, recFace, recSymbol;
  // The lit arc of the volume knob while it turns up / down.
  QColor knobUp, knobDown;
  // Display.
  QColor bezel, lcdBack, lcdText, lcdDim;
  // The four ticker text colours, as the colours they are (written as system values).
  std::array<QColor, 4> ticker;
  QColor analyserPlay, analyserRecord, analyserBack;
  QColor gaugeBack, gaugeBar;
  // Cassette window.
  QColor windowFrame, cassetteShell, tape, hub;
  // Grips and grille.
  QColor rubber, grilleHole;
};

enum class Outline {
  MicCap,    // rounded body with a microphone cap on top
  Slimline,  // tall body with a strongly rounded top and rubber grips on the sides
};

enum class Grille { Slots, Dots };

struct DisplayBoxes {
  QRect ticker, message, count, analyser, analyserLine;
};

struct Design {
  QString name;  // skin name: key file name, section and folder
  QSize canvas;
  Outline outline = Outline::MicCap;
  QRectF body;  // the main body; the outline adds its cap or grips
  qreal topRadius = 20, bottomRadius = 20;
  QRectF cap;                         // MicCap: the microphone cap
  qreal gripTop = 0, gripBottom = 0;  // Slimline: the rubber grips' vertical extent

  QRectF deck;  // key deck plate
  qreal deckRadius = 10;

  QRect bezel, glass;         // display: its black bezel and the lit glass inside
  DisplayBoxes small, large;  // the S boxes (96 dpi) and the L boxes (120 dpi)
  QRect gauge;                // volume indicator gauge
  QString gaugeLegend;        // printed in the display left of the gauge

  QRect cassetteWindow;
  QPoint leftHub, rightHub;
  int leftPack = 20, rightPack = 14;  // radii of the wound tape
  int hubRadius = 9;
  QRect leftWheel, rightWheel;  // the wheel bitmaps

  QRect knob;  // the volume knob bitmap
  QString knobCaption;

  QRect logo;
  QColor logoInk;
  QRectF grille;
  Grille grilleKind = Grille::Slots;

  std::vector<KeyArt> keys;
  Palette colours;

  // Key file fonts: face, size in points, style.
  QString tickerFont, labelFont, counterFont;
  int tickerFontSize = 8, labelFontSize = 8, counterFontSize = 8;

  const KeyArt& key(KeyId id) const;
};

Design DefaultDesign();
Design GraphiteDesign();

}  // namespace skingen
