// The ticker tape on the panel: a line of coloured text items that scrolls to the left or to the
// right in 5-pixel steps, or stands still, on a strip of the skin's background colour.
//
// A text is a list of items separated by "|"; an item "<colour>%<text>" is drawn in that colour,
// any other item whole in lime. Colours 1, 2 and 3 are lime, yellow and red; other numbers are
// system colour values (red in the low byte). The skin sets the ticker's place, background,
// font and the four colour tags the main window puts in front of texts.
//
// Nothing moves on its own: each call of TimerFired() is one step, and the step timer calls it
// while the ticker is Active. While the text scrolls, the control shows the background colour
// with the items at the step's place: the items are drawn once into a strip image, and a step
// only moves the strip and repaints the columns it left and entered, so a fast ticker costs
// little. Still items are drawn straight onto a kept face image. Either way a repaint shows the
// last step again; a resize or a new colour wipes the control back to the bare panel.
//
// The control owns its step timer and its built-in menu (speed, direction, exit), which it shows
// as its own context menu. A container that offers a menu of its own on the ticker sets
// Qt::PreventContextMenu on it.
#pragma once

#include <array>

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>

class QAction;
class QMenu;

namespace kiv {

enum class TDirection { tdLeft, tdRight, tdNone };
// Step intervals of 250, 60 and 30 ms.
enum class TSpeed { tsSlow, tsMedium, tsFast };
// The order in which still items stand: from the first item on, or from the last shown back.
enum class TOrder { toAscend, toDescend };
// A bevel of the panel: none, sunk, raised, or a raised-looking spacer.
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TMarquee : public QWidget {
  Q_OBJECT

 public:
  struct Item {
    QString text;
    QColor color;
    bool operator==(const Item&) const = default;
  };

  explicit TMarquee(QWidget* parent = nullptr);
  ~TMarquee() override;

  // 1 lime, 2 yellow, 3 red; any other number is the system colour value itself.
  static QColor GetColor(int number);

  // The panel: background colour and the frame around the strip. The bevels and the border
  // narrow the inner rectangle that ClearRect() clears and that ends a scroll to the right.
  QColor Color() const { return color_; }
  void SetColor(const QColor& color);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut bevel);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut bevel);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int width);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int width);

  // Tags 1 to 4 as the skin gives them, e.g. "65280%"; other numbers are ignored.
  QString ColorTag(int number) const;
  void SetColorTag(int number, const QString& tag);

  // Whether the step timer runs.
  bool Active() const { return active_; }
  void SetActive(bool value);

  TDirection Direction() const { return direction_; }
  void SetDirection(TDirection value) { direction_ = value; }

  // Changing the speed ticks its item in the built-in menu; the timer keeps running if Active.
  TSpeed Speed() const { return speed_; }
  void SetSpeed(TSpeed value);

  // How many items, and in which order, stand at the left edge when the direction is tdNone.
  int StillItemsNumber() const { return stillItemsNumber_; }
  void SetStillItemsNumber(int number) { stillItemsNumber_ = number; }
  TOrder StillItemsOrder() const { return stillItemsOrder_; }
  void SetStillItemsOrder(TOrder order) { stillItemsOrder_ = order; }

  QString Text() const { return text_; }
  // Parses `value` into items, clearing the inner rectangle first. An item with a colour that
  // is not a whole number ends the parse there with false: the items before it are kept and the
  // step timer stays stopped until the ticker is started again.
  bool SetText(const QString& value);
  QList<Item> Items() const { return items_; }
  // Every item's text followed by one blank: the width a full scroll has to cover.
  QString PlainText() const { return plainText_; }

  // One step: draws the items for the current direction and moves the scroll offset on.
  void TimerFired();

  // The strip inside the border, the bevels and a 4-pixel margin; with `fill` it is also
  // painted with the background colour on the control's face.
  QRect ClearRect(bool fill);

  // How far the text has moved: from the right edge for tdLeft, from the left for tdRight.
  int ScrollOffset() const { return scrollOffset_; }
  const QTimer& StepTimer() const { return stepTimer_; }
  QMenu* BuiltInMenu() const { return menu_; }

 Q_SIGNALS:
  // The user chose "Exit" in the built-in menu.
  void ExitRequest();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void WMSize();
  void BuildMenu();
  void KillMenu();
  void SlowClick() { SetSpeed(TSpeed::tsSlow); }
  void MediumClick() { SetSpeed(TSpeed::tsMedium); }
  void FastClick() { SetSpeed(TSpeed::tsFast); }
  void LeftClick();
  void RightClick();
  void ExitClick() { Q_EMIT ExitRequest(); }
  QAction* SpeedItem(TSpeed speed) const;

  QImage NewImage(QSize size) const;
  // Back to the bare panel; the strip is drawn again at the next scrolling step.
  void Wipe();
  // The face as the control shows it now, as an image that still items can be drawn on.
  void EnsureFace();
  void PaintPanel(QPainter& painter) const;
  // The strip holding every item, and the width of the plain text, for the current text, font,
  // colour and height; built when one of them has changed.
  void EnsureStrip();
  QRect StripRect(int x) const;
  void PaintScrolling(QPainter& painter, const QRect& area) const;
  void DrawScrollingItems(int x);
  void DrawStillItems();

  QColor color_;
  TBevelCut bevelOuter_ = TBevelCut::bvNone;
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  std::array<QString, 4> colorTags_;

  bool active_ = false;
  TDirection direction_ = TDirection::tdLeft;
  TSpeed speed_ = TSpeed::tsSlow;
  int stillItemsNumber_ = 2;
  TOrder stillItemsOrder_ = TOrder::toDescend;
  QTimer stepTimer_;

  QString text_;
  QList<Item> items_;
  QString plainText_;
  int scrollOffset_ = 0;
  // What the control shows: the items scrolled to scrollX_ on the background colour while
  // `scrolling_`; otherwise face_, or the bare panel while face_ is null.
  bool scrolling_ = false;
  int scrollX_ = 0;
  QImage face_;
  // Every item side by side, from stripMargin_ (a line's height) on: the margin keeps any ink a
  // glyph puts before its cell or past the last one. Null without items.
  bool stripReady_ = false;
  QImage strip_;
  int stripMargin_ = 0;
  int plainWidth_ = 0;

  QMenu* menu_ = nullptr;
  QAction* slowItem_ = nullptr;
  QAction* mediumItem_ = nullptr;
  QAction* fastItem_ = nullptr;
  QAction* leftItem_ = nullptr;
  QAction* rightItem_ = nullptr;
};

}  // namespace kiv
