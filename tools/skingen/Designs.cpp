// The two skins shipped with the recorder. Positions are pixels on the panel bitmap; every box
// here becomes a key-file value, every key box is also the size of its bitmap.
#include <stdexcept>

#include "SkinDesign.h"

namespace skingen {

const KeyArt& Design::key(KeyId id) const {
  for (const KeyArt& k : keys) {
    if (k.id == id) return k;
  }
  throw std::logic_error("design without a key it needs");
}

namespace {

QColor Hex(unsigned rgb) {
  return QColor::fromRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

KeyArt Key(KeyId id, QRect box, KeyShape shape, Symbol symbol, const QString& caption) {
  KeyArt k{id, box, shape, symbol, caption, false, QColor(), QColor()};
  return k;
}

}  // namespace

// "Default": a silver pocket recorder with a microphone cap, a green backlit display and a dark
// key deck; the classic look.
Design DefaultDesign() {
  Design d;
  d.name = QStringLiteral("Default");
  d.canvas = QSize(230, 390);
  d.outline = Outline::MicCap;
  d.body = QRectF(4, 12, 222, 374);
  d.topRadius = 26;
  d.bottomRadius = 30;
  d.cap = QRectF(74, 3, 82, 26);

  d.logo = QRect(18, 30, 112, 24);
  d.logoInk = Hex(0x2E3238);

  d.bezel = QRect(14, 60, 202, 78);
  d.glass = QRect(20, 66, 190, 66);
  d.small = {QRect(24, 70, 182, 16), QRect(26, 90, 46, 16), QRect(76, 90, 130, 16),
             QRect(130, 110, 76, 18), QRect(130, 129, 76, 1)};
  d.large = {QRect(24, 69, 182, 18), QRect(26, 89, 48, 19), QRect(76, 89, 130, 19),
             QRect(130, 110, 76, 18), QRect(130, 129, 76, 1)};
  d.gauge = QRect(46, 117, 66, 5);
  d.gaugeLegend = QStringLiteral("VOL");

  d.cassetteWindow = QRect(14, 146, 202, 74);
  d.leftHub = QPoint(74, 183);
  d.rightHub = QPoint(156, 183);
  d.leftPack = 27;
  d.rightPack = 17;
  d.hubRadius = 9;
  d.leftWheel = QRect(63, 172, 22, 22);
  d.rightWheel = QRect(145, 172, 22, 22);

  d.deck = QRectF(10, 226, 210, 130);
  d.deckRadius = 12;

  const int col[4] = {17, 68, 119, 170};
  d.keys = {
      Key(KeyId::FastRewind, QRect(col[0], 232, 44, 24), KeyShape::RoundRect,
          Symbol::PreviousMessage, QStringLiteral("PREV")),
      Key(KeyId::Rewind, QRect(col[1], 232, 44, 24), KeyShape::RoundRect, Symbol::Rewind,
          QStringLiteral("REW")),
      Key(KeyId::Forward, QRect(col[2], 232, 44, 24), KeyShape::RoundRect, Symbol::Forward,
          QStringLiteral("FF")),
      Key(KeyId::FastForward, QRect(col[3], 232, 44, 24), KeyShape::RoundRect, Symbol::NextMessage,
          QStringLiteral("NEXT")),
      Key(KeyId::Record, QRect(col[0], 270, 44, 32), KeyShape::RoundRect, Symbol::Record,
          QStringLiteral("REC")),
      Key(KeyId::Play, QRect(col[1], 270, 44, 32), KeyShape::RoundRect, Symbol::Play,
          QStringLiteral("PLAY")),
      Key(KeyId::Pause, QRect(col[2], 270, 44, 32), KeyShape::RoundRect, Symbol::Pause,
          QStringLiteral("PAUSE")),
      Key(KeyId::Stop, QRect(col[3], 270, 44, 32), KeyShape::RoundRect, Symbol::Stop,
          QStringLiteral("STOP")),
      Key(KeyId::Del, QRect(col[0], 318, 44, 22), KeyShape::RoundRect, Symbol::DelText, QString()),
      Key(KeyId::VolMinus, QRect(68, 318, 30, 22), KeyShape::RoundRect, Symbol::Minus, QString()),
      Key(KeyId::VolPlus, QRect(132, 318, 30, 22), KeyShape::RoundRect, Symbol::Plus, QString()),
      Key(KeyId::Settings, QRect(col[3], 318, 44, 22), KeyShape::RoundRect, Symbol::Menu,
          QStringLiteral("MENU")),
      Key(KeyId::Off, QRect(176, 29, 36, 20), KeyShape::Pill, Symbol::Power, QStringLiteral("OFF")),
  };
  for (KeyArt& k : d.keys) {
    if (k.id == KeyId::Record) {
      k.red = true;
      k.led = Hex(0xFF3020);
    }
    if (k.id == KeyId::Play) {
      k.led = Hex(0x50FF60);
      k.symbolColour = Hex(0x8CF08C);
    }
    if (k.id == KeyId::Pause) k.led = Hex(0xFFB020);
    if (k.id == KeyId::Off) k.symbolColour = Hex(0xFF8A7E);
  }
  d.knob = QRect(102, 316, 26, 26);
  d.knobCaption = QStringLiteral("VOL");

  d.grille = QRectF(46, 362, 138, 16);
  d.grilleKind = Grille::Slots;

  Palette& c = d.colours;
  c.bodyLeft = Hex(0xB4BAC1);
  c.bodyMiddle = Hex(0xE8EBEE);
  c.bodyRight = Hex(0xA3AAB2);
  c.grain = 16;
  c.rim = Hex(0x3A3E44);
  c.print = Hex(0x3C4148);
  c.accent = Hex(0xD8262B);
  c.deck = Hex(0x2A2D32);
  c.deckPrint = Hex(0xC5CAD0);
  c.recPrint = Hex(0xFF6A5E);
  c.keyFace = Hex(0x596068);
  c.keySymbol = Hex(0xEEF1F4);
  c.recFace = Hex(0xC42A28);
  c.recSymbol = Hex(0xFFF2EE);
  c.knobUp = Hex(0x7CFF6A);
  c.knobDown = Hex(0xFF4A3A);
  c.bezel = Hex(0x15171A);
  c.lcdBack = Hex(0x0E1C14);
  c.lcdText = Hex(0x9CFF8A);
  c.lcdDim = Hex(0x4A7A52);
  c.ticker = {Hex(0x9CFF8A), Hex(0xFFC24A), Hex(0xFF6E5E), Hex(0x7FD4FF)};
  c.analyserPlay = Hex(0x9CFF8A);
  c.analyserRecord = Hex(0xFF6E5E);
  c.analyserBack = Hex(0x08140C);
  c.gaugeBack = Hex(0x1F3626);
  c.gaugeBar = Hex(0x9CFF8A);
  c.windowFrame = Hex(0x1C1E22);
  c.cassetteShell = Hex(0xB9B2A2);
  c.tape = Hex(0x4A2C18);
  c.hub = Hex(0xF2F0EA);
  c.rubber = Hex(0x2A2C30);
  c.grilleHole = Hex(0x25282C);

  d.tickerFont = QStringLiteral("DejaVu Sans");
  d.tickerFontSize = 8;
  d.labelFont = QStringLiteral("DejaVu Sans");
  d.labelFontSize = 9;
  d.counterFont = QStringLiteral("DejaVu Sans Mono");
  d.counterFontSize = 9;
  return d;
}

// "Graphite": a slim dark recorder with a domed top, rubber side grips, round transport keys and
// an amber display.
Design GraphiteDesign() {
  Design d;
  d.name = QStringLiteral("Graphite");
  d.canvas = QSize(214, 404);
  d.outline = Outline::Slimline;
  d.body = QRectF(8, 4, 198, 396);
  d.topRadius = 58;
  d.bottomRadius = 22;
  d.gripTop = 196;
  d.gripBottom = 322;

  d.grille = QRectF(44, 14, 126, 42);
  d.grilleKind = Grille::Dots;

  d.bezel = QRect(18, 64, 178, 86);
  d.glass = QRect(24, 70, 166, 74);
  d.small = {QRect(28, 74, 158, 16), QRect(30, 94, 42, 16), QRect(74, 94, 112, 16),
             QRect(108, 114, 78, 22), QRect(108, 137, 78, 1)};
  d.large = {QRect(28, 73, 158, 18), QRect(28, 93, 46, 19), QRect(74, 93, 114, 19),
             QRect(108, 115, 78, 21), QRect(108, 137, 78, 1)};
  d.gauge = QRect(50, 123, 48, 5);
  d.gaugeLegend = QStringLiteral("VOL");

  d.cassetteWindow = QRect(18, 158, 178, 64);
  d.leftHub = QPoint(69, 190);
  d.rightHub = QPoint(145, 190);
  d.leftPack = 24;
  d.rightPack = 15;
  d.hubRadius = 9;
  d.leftWheel = QRect(58, 179, 22, 22);
  d.rightWheel = QRect(134, 179, 22, 22);

  d.deck = QRectF(14, 230, 186, 136);
  d.deckRadius = 16;

  const int col[4] = {20, 65, 110, 155};
  d.keys = {
      Key(KeyId::FastRewind, QRect(col[0], 236, 40, 22), KeyShape::Pill, Symbol::PreviousMessage,
          QStringLiteral("PREV")),
      Key(KeyId::Rewind, QRect(col[1], 236, 40, 22), KeyShape::Pill, Symbol::Rewind,
          QStringLiteral("REW")),
      Key(KeyId::Forward, QRect(col[2], 236, 40, 22), KeyShape::Pill, Symbol::Forward,
          QStringLiteral("FF")),
      Key(KeyId::FastForward, QRect(col[3], 236, 40, 22), KeyShape::Pill, Symbol::NextMessage,
          QStringLiteral("NEXT")),
      Key(KeyId::Record, QRect(col[0], 271, 40, 40), KeyShape::Circle, Symbol::Record,
          QStringLiteral("REC")),
      Key(KeyId::Play, QRect(col[1], 271, 40, 40), KeyShape::Circle, Symbol::Play,
          QStringLiteral("PLAY")),
      Key(KeyId::Pause, QRect(col[2], 271, 40, 40), KeyShape::Circle, Symbol::Pause,
          QStringLiteral("PAUSE")),
      Key(KeyId::Stop, QRect(col[3], 271, 40, 40), KeyShape::Circle, Symbol::Stop,
          QStringLiteral("STOP")),
      Key(KeyId::Del, QRect(col[0], 329, 40, 20), KeyShape::Pill, Symbol::DelText, QString()),
      Key(KeyId::VolMinus, QRect(64, 326, 26, 26), KeyShape::Circle, Symbol::Minus, QString()),
      Key(KeyId::VolPlus, QRect(126, 326, 26, 26), KeyShape::Circle, Symbol::Plus, QString()),
      Key(KeyId::Settings, QRect(col[3], 329, 40, 20), KeyShape::Pill, Symbol::Menu,
          QStringLiteral("MENU")),
      Key(KeyId::Off, QRect(160, 371, 34, 20), KeyShape::Pill, Symbol::Power, QString()),
  };
  for (KeyArt& k : d.keys) {
    if (k.id == KeyId::Record) {
      k.red = true;
      k.led = Hex(0xFF5A20);
    }
    if (k.id == KeyId::Play) {
      k.led = Hex(0xFFC040);
      k.symbolColour = Hex(0xFFB238);
    }
    if (k.id == KeyId::Pause) k.led = Hex(0xFFC040);
    if (k.id == KeyId::Off) k.symbolColour = Hex(0xFF9A40);
  }
  d.knob = QRect(94, 325, 28, 28);
  d.knobCaption = QStringLiteral("VOL");

  d.logo = QRect(22, 370, 124, 22);
  d.logoInk = Hex(0xC8CCD2);

  Palette& c = d.colours;
  c.bodyLeft = Hex(0x2A2D32);
  c.bodyMiddle = Hex(0x484C54);
  c.bodyRight = Hex(0x222529);
  c.grain = 12;
  c.rim = Hex(0x0A0B0C);
  c.print = Hex(0xB4B9C0);
  c.accent = Hex(0xFF8A1E);
  c.deck = Hex(0x17191C);
  c.deckPrint = Hex(0xA4AAB2);
  c.recPrint = Hex(0xFF7048);
  c.keyFace = Hex(0x3E434A);
  c.keySymbol = Hex(0xF2E8DC);
  c.recFace = Hex(0xD0381C);
  c.recSymbol = Hex(0xFFF2E6);
  c.knobUp = Hex(0xB8FF5A);
  c.knobDown = Hex(0xFF4A30);
  c.bezel = Hex(0x0A0B0C);
  c.lcdBack = Hex(0x170E04);
  c.lcdText = Hex(0xFFB238);
  c.lcdDim = Hex(0x7A5218);
  c.ticker = {Hex(0xFFB238), Hex(0xB8FF5A), Hex(0xFF5A3C), Hex(0xFFF0C8)};
  c.analyserPlay = Hex(0xFFB238);
  c.analyserRecord = Hex(0xFF4A30);
  c.analyserBack = Hex(0x100902);
  c.gaugeBack = Hex(0x3A2408);
  c.gaugeBar = Hex(0xFFB238);
  c.windowFrame = Hex(0x0E0F11);
  c.cassetteShell = Hex(0x62666E);
  c.tape = Hex(0x50321C);
  c.hub = Hex(0xE8E4DC);
  c.rubber = Hex(0x151618);
  c.grilleHole = Hex(0x0E0F10);

  d.tickerFont = QStringLiteral("DejaVu Sans Mono");
  d.tickerFontSize = 8;
  d.labelFont = QStringLiteral("DejaVu Sans Mono");
  d.labelFontSize = 9;
  d.counterFont = QStringLiteral("DejaVu Sans Mono");
  d.counterFontSize = 8;
  return d;
}

}  // namespace skingen
