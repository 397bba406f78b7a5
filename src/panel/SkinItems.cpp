#include "panel/SkinItems.h"

#include <cstdint>

#include "panel/CommaText.h"

namespace kiv {

namespace {

int HexDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  return -1;
}

}  // namespace

std::optional<int> ConvertNumber(const QString& text) {
  qsizetype pos = 0;
  while (pos < text.size() && text[pos] == u' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
    negative = text[pos] == u'-';
    ++pos;
  }

  bool hex = false;
  if (pos < text.size() && text[pos] == u'$') {
    hex = true;
    pos += 1;
  } else if (pos + 1 < text.size() && text[pos] == u'0' &&
             (text[pos + 1] == u'x' || text[pos + 1] == u'X')) {
    hex = true;
    pos += 2;
  }
  if (pos == text.size()) return std::nullopt;

  uint64_t value = 0;
  for (; pos < text.size(); ++pos) {
    if (hex) {
      const int digit = HexDigit(text[pos]);
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    } else {
      const char16_t u = text[pos].unicode();
      if (u < u'0' || u > u'9') return std::nullopt;
      value = value * 10 + static_cast<uint64_t>(u - u'0');
      if (value > 0x80000000u) return std::nullopt;
    }
  }

  if (hex) {
    // Hex digits are a bit pattern: eight of them may set the sign bit.
    const auto bits = static_cast<int32_t>(static_cast<uint32_t>(value));
    return negative ? static_cast<int>(0u - static_cast<uint32_t>(bits)) : bits;
  }
  if (negative) return static_cast<int>(-static_cast<int64_t>(value));
  if (value > 0x7FFFFFFFu) return std::nullopt;
  return static_cast<int>(value);
}

QColor SystemColor(int value) {
  const auto bits = static_cast<uint32_t>(value);
  return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                static_cast<int>((bits >> 16) & 0xFF));
}

SkinItems::SkinItems(const QString& value) : items_(SplitCommaText(value)) {}

QString SkinItems::Item(qsizetype index) {
  if (index < 0 || index >= items_.size()) {
    ok_ = false;
    return {};
  }
  return items_[index];
}

int SkinItems::Number(qsizetype index) {
  const QString item = Item(index);
  if (!ok_) return 0;
  const std::optional<int> number = ConvertNumber(item);
  if (!number) {
    ok_ = false;
    return 0;
  }
  return *number;
}

bool SkinItems::Switch(qsizetype index) { return Item(index) == QStringLiteral("on"); }

QPoint SkinItems::Point() {
  const int left = Number(0);
  const int top = Number(1);
  return {left, top};
}

QRect SkinItems::Box() {
  const int left = Number(0);
  const int top = Number(1);
  const int height = Number(2);
  const int width = Number(3);
  return {left, top, width, height};
}

QColor SkinItems::Colour() {
  const QString digits = Item(0);
  if (!ok_) return {};
  const QString swapped =
      QStringLiteral("0x") + digits.mid(4, 2) + digits.mid(2, 2) + digits.mid(0, 2);
  const std::optional<int> value = ConvertNumber(swapped);
  if (!value) {
    ok_ = false;
    return {};
  }
  return SystemColor(*value);
}

QString SkinItems::TickerColour() {
  const QString digits = Item(0);
  if (!ok_) return {};
  const std::optional<int> value = ConvertNumber(QStringLiteral("0x") + digits);
  if (!value) {
    ok_ = false;
    return {};
  }
  return QString::number(*value) + u'%';
}

SkinFont SkinItems::Font() {
  SkinFont font;
  // The font file is the item looked at first: a list of three fails before anything else.
  font.fontFile = Item(3);
  font.face = Item(0);
  font.pointSize = Number(1);
  font.bold = Item(2) == QStringLiteral("Bold");
  return font;
}

}  // namespace kiv
