#include "panel/CommaText.h"

namespace kiv {

namespace {

bool IsBlank(QChar c) { return c.unicode() >= 1 && c.unicode() <= 32; }

// The quoted item starting at `pos` (on the opening quote). Leaves `pos` after the closing quote,
// or at the end of the text when the quote is never closed.
QString QuotedItem(const QString& text, qsizetype end, qsizetype& pos) {
  QString item;
  ++pos;
  while (pos < end) {
    if (text[pos] == u'"') {
      if (pos + 1 < end && text[pos + 1] == u'"') {
        item.append(u'"');
        pos += 2;
        continue;
      }
      ++pos;
      return item;
    }
    item.append(text[pos]);
    ++pos;
  }
  return item;
}

}  // namespace

QStringList SplitCommaText(const QString& text) {
  QStringList items;
  qsizetype end = text.indexOf(QChar(u'\0'));
  if (end < 0) end = text.size();

  qsizetype pos = 0;
  while (pos < end && IsBlank(text[pos])) ++pos;
  while (pos < end) {
    if (text[pos] == u'"') {
      items.append(QuotedItem(text, end, pos));
    } else {
      const qsizetype start = pos;
      while (pos < end && !IsBlank(text[pos]) && text[pos] != u',') ++pos;
      items.append(text.mid(start, pos - start));
    }
    while (pos < end && IsBlank(text[pos])) ++pos;
    // One comma ends the item; blanks after it belong to no item. A second comma right after is
    // seen by the next round as an item of its own, empty.
    if (pos < end && text[pos] == u',') {
      do {
        ++pos;
      } while (pos < end && IsBlank(text[pos]));
    }
  }
  return items;
}

}  // namespace kiv
