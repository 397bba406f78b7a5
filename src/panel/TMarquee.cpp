#include "panel/TMarquee.h"

#include <QFontMetrics>
#include <QPainter>

#include "panel/SkinItems.h"

namespace kiv {

namespace {

const QColor kLime(0, 255, 0);

// The pieces of a ticker text: cut at "|", stopping at the first empty piece, so "a||b" is only
// "a" and a text starting with "|" has none. A text without "|" is one piece, even when empty.
QStringList Pieces(const QString& value) {
  if (!value.contains(u'|')) return {value};
  QStringList pieces;
  for (const QString& piece : value.split(u'|')) {
    if (piece.isEmpty()) break;
    pieces.append(piece);
  }
  return pieces;
}

// Cut at each "%"; a "%" at the very end does not start another token.
QStringList Tokens(const QString& piece) {
  QStringList tokens = piece.split(u'%');
  if (piece.endsWith(u'%')) tokens.removeLast();
  return tokens;
}

}  // namespace

TMarquee::TMarquee(QWidget* parent) : QFrame(parent), color_(Qt::black) {
  setAutoFillBackground(true);
  SetColor(color_);
}

QColor TMarquee::GetColor(int number) {
  switch (number) {
    case 1:
      return kLime;
    case 2:
      return QColor(255, 255, 0);
    case 3:
      return QColor(255, 0, 0);
    default:
      return SystemColor(number);
  }
}

void TMarquee::SetColor(const QColor& color) {
  color_ = color;
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, color);
  setPalette(palette);
  update();
}

QString TMarquee::ColorTag(int number) const {
  if (number < 1 || number > 4) return {};
  return colorTags_[static_cast<size_t>(number - 1)];
}

void TMarquee::SetColorTag(int number, const QString& tag) {
  if (number < 1 || number > 4) return;
  colorTags_[static_cast<size_t>(number - 1)] = tag;
}

bool TMarquee::SetText(const QString& value) {
  items_.clear();
  text_ = value;
  plainText_.clear();
  update();
  for (const QString& piece : Pieces(value)) {
    const QStringList tokens = Tokens(piece);
    Item item{piece, kLime};
    if (tokens.size() == 2) {
      const std::optional<int> number = ConvertNumber(tokens[0]);
      if (!number) return false;
      item = Item{tokens[1], GetColor(*number)};
    }
    items_.append(item);
    plainText_ += item.text + u' ';
  }
  return true;
}

void TMarquee::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  painter.setFont(font());
  const QFontMetrics metrics(font());
  int x = 0;
  for (const Item& item : items_) {
    painter.setPen(item.color);
    const QString shown = item.text + u' ';
    painter.drawText(QRect(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignTop, shown);
    x += metrics.horizontalAdvance(shown);
    if (x >= width()) break;
  }
}

}  // namespace kiv
