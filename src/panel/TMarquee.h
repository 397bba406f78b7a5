// The ticker tape on the panel: a line of coloured text items on the skin's background.
//
// A text is a list of items separated by "|"; an item "<colour>%<text>" is drawn in that colour,
// any other item whole in lime. Colours 1, 2 and 3 are lime, yellow and red; other numbers are
// system colour values (red in the low byte). The skin sets the ticker's place, background,
// font and the four colour tags the main window puts in front of texts.
//
// For now the ticker shows its items still, left to right; it owns nothing but its text, its
// parsed items and the tags.
#pragma once

#include <array>

#include <QColor>
#include <QFrame>
#include <QList>
#include <QString>

namespace kiv {

class TMarquee : public QFrame {
  Q_OBJECT

 public:
  struct Item {
    QString text;
    QColor color;
    bool operator==(const Item&) const = default;
  };

  explicit TMarquee(QWidget* parent = nullptr);

  // 1 lime, 2 yellow, 3 red; any other number is the system colour value itself.
  static QColor GetColor(int number);

  QColor Color() const { return color_; }
  void SetColor(const QColor& color);

  // Tags 1 to 4 as the skin gives them, e.g. "65280%"; other numbers are ignored.
  QString ColorTag(int number) const;
  void SetColorTag(int number, const QString& tag);

  QString Text() const { return text_; }
  // Parses `value` into items. An item with a colour that is not a whole number stops the
  // parse there with false; the items before it are kept and shown.
  bool SetText(const QString& value);
  QList<Item> Items() const { return items_; }
  // Every item's text followed by one blank: the width a full scroll has to cover.
  QString PlainText() const { return plainText_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor color_;
  std::array<QString, 4> colorTags_;
  QString text_;
  QList<Item> items_;
  QString plainText_;
};

}  // namespace kiv
