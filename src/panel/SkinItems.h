// One value of a skin key file, split into items, and the forms its items are read in: numbers,
// points, boxes, switches, colours, ticker colours and fonts.
//
// Reading is sticky-failing, like a stream: asking for an item beyond the end of the list or a
// number that does not convert marks the whole value as failed and returns a neutral value, so a
// row reads all it needs and then checks Ok() once before applying anything.
#pragma once

#include <optional>

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include "panel/SkinTarget.h"

namespace kiv {

// A whole text as a signed 32-bit number: decimal with an optional sign, or hexadecimal after
// "0x" or "$" (up to eight digits, read as the bit pattern, so "0xFFFFFFFF" is -1). Anything else,
// the empty text included, does not convert.
std::optional<int> ConvertNumber(const QString& text);

// A system colour value (red in bits 0-7, green 8-15, blue 16-23) as a QColor; higher bits are
// ignored.
QColor SystemColor(int value);

class SkinItems {
 public:
  explicit SkinItems(const QString& value);

  bool Ok() const { return ok_; }
  qsizetype Count() const { return items_.size(); }

  QString Item(qsizetype index);
  int Number(qsizetype index);
  // True only for the item "on", written exactly so: "ON" and "On" are off.
  bool Switch(qsizetype index);

  // left, top
  QPoint Point();
  // left, top, height, width: height comes first in the file.
  QRect Box();
  // Six hex digits, red first, from the first item. The digits are reordered into the system
  // value (blue first) pair by pair, so a short item yields fewer pairs: "0" is black.
  QColor Colour();
  // The first item is the system colour value in hex as it is, no reordering: "FF" is red here
  // but blue in a colour item. Returned as the ticker's colour tag, decimal plus "%": "255%".
  QString TickerColour();
  // face, size, style ("Bold" exactly sets bold, anything else clears it), font file or "off".
  SkinFont Font();

 private:
  QStringList items_;
  bool ok_ = true;
};

}  // namespace kiv
