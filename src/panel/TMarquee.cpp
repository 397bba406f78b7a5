#include "panel/TMarquee.h"

#include <algorithm>
#include <utility>

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>

#include "panel/SkinItems.h"

namespace kiv {

namespace {

const QColor kLime(0, 255, 0);

// Pixels a scrolling text moves per step, and the gap between two scrolling items.
constexpr int kStep = 5;
constexpr int kItemGap = 5;
// A text scrolling to the right starts this far in from the left edge.
constexpr int kRightStart = 3;
// Space between the frame and the text, on every side of the inner rectangle.
constexpr int kInnerMargin = 4;

int IntervalOf(TSpeed speed) {
  switch (speed) {
    case TSpeed::tsMedium:
      return 60;
    case TSpeed::tsFast:
      return 30;
    case TSpeed::tsSlow:
      break;
  }
  return 250;
}

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

// Text cells are opaque, as text drawn with a solid brush is: whatever lay under an item's cell
// takes the background colour, so still items drawn over an old face leave no trace of it.
void DrawCell(QPainter& painter, const QFontMetrics& metrics, int x, const QString& text,
              QColor textColor, QColor background) {
  painter.fillRect(QRect(x, 0, metrics.horizontalAdvance(text), metrics.height()), background);
  painter.setPen(textColor);
  painter.drawText(x, metrics.ascent(), text);
}

// One line of bevel: `width` rings, lit from the top left.
void Frame3D(QPainter& painter, QRect& rect, QColor topLeft, QColor bottomRight, int width) {
  for (int ring = 0; ring < width && rect.isValid(); ++ring) {
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width() - 1, 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height() - 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
    rect.adjust(1, 1, -1, -1);
  }
}

}  // namespace

TMarquee::TMarquee(QWidget* parent) : QWidget(parent), color_(Qt::black) {
  // Everything the control shows is painted by paintEvent, background included.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Pointer moves arrive without a button held, so a container watching the ticker can pause it
  // while the pointer rests on it.
  setMouseTracking(true);
  stepTimer_.setInterval(IntervalOf(speed_));
  connect(&stepTimer_, &QTimer::timeout, this, &TMarquee::TimerFired);
  BuildMenu();
}

TMarquee::~TMarquee() { KillMenu(); }

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
  stripReady_ = false;
  Wipe();
  update();
}

void TMarquee::SetBevelOuter(TBevelCut bevel) {
  bevelOuter_ = bevel;
  Wipe();
  update();
}

void TMarquee::SetBevelInner(TBevelCut bevel) {
  bevelInner_ = bevel;
  Wipe();
  update();
}

void TMarquee::SetBevelWidth(int width) {
  bevelWidth_ = std::max(width, 1);
  Wipe();
  update();
}

void TMarquee::SetBorderWidth(int width) {
  borderWidth_ = std::max(width, 0);
  Wipe();
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

void TMarquee::SetActive(bool value) {
  if (value == active_) return;
  if (value) {
    stepTimer_.start();
  } else {
    stepTimer_.stop();
  }
  active_ = value;
}

void TMarquee::SetSpeed(TSpeed value) {
  if (active_) stepTimer_.stop();
  if (value != speed_) {
    stepTimer_.setInterval(IntervalOf(value));
    if (QAction* item = SpeedItem(value)) item->setChecked(true);
    speed_ = value;
  }
  if (active_) stepTimer_.start();
}

bool TMarquee::SetText(const QString& value) {
  if (active_) stepTimer_.stop();
  items_.clear();
  text_ = value;
  plainText_.clear();
  ClearRect(true);
  stripReady_ = false;
  for (const QString& piece : Pieces(value)) {
    const QStringList tokens = Tokens(piece);
    Item item{piece, kLime};
    if (tokens.size() == 2) {
      const std::optional<int> number = ConvertNumber(tokens[0]);
      // Leaves the timer stopped: the ticker stands until it is started again.
      if (!number) return false;
      item = Item{tokens[1], GetColor(*number)};
    }
    items_.append(item);
    plainText_ += item.text + u' ';
  }
  if (active_) stepTimer_.start();
  return true;
}

void TMarquee::TimerFired() {
  const QRect inner = ClearRect(false);
  if (direction_ != TDirection::tdNone) EnsureStrip();
  switch (direction_) {
    case TDirection::tdLeft:
      DrawScrollingItems(width() - scrollOffset_);
      scrollOffset_ += kStep;
      // Once the last item has left at the left edge, the text enters again from the right.
      if (scrollOffset_ >= plainWidth_ + width()) scrollOffset_ = 0;
      // No explicit yield to pending events here: the timer calls this from the event loop,
      // which handles them as soon as the step returns.
      break;
    case TDirection::tdRight: {
      DrawScrollingItems(scrollOffset_ + kRightStart);
      scrollOffset_ += kStep;
      // The edge is the first column past the inner rectangle. Restarting a whole text's width
      // left of the inner rectangle lets the text enter again from the left.
      const int innerRightEdge = inner.left() + inner.width();
      if (scrollOffset_ >= innerRightEdge) {
        scrollOffset_ = inner.left() - plainWidth_;
      }
      break;
    }
    case TDirection::tdNone:
      DrawStillItems();
      break;
  }
}

QRect TMarquee::ClearRect(bool fill) {
  int inset = borderWidth_;
  if (bevelOuter_ != TBevelCut::bvNone) inset += bevelWidth_;
  if (bevelInner_ != TBevelCut::bvNone) inset += bevelWidth_;
  inset += kInnerMargin;
  const QRect inner = rect().adjusted(inset, inset, -inset, -inset);
  if (fill && inner.isValid()) {
    EnsureFace();
    QPainter painter(&face_);
    painter.fillRect(inner, color_);
    update();
  }
  return inner;
}

void TMarquee::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (scrolling_) {
    PaintScrolling(painter, event->rect());
  } else if (face_.size() == size()) {
    painter.drawImage(0, 0, face_);
  } else {
    PaintPanel(painter);
  }
}

void TMarquee::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  WMSize();
}

void TMarquee::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) stripReady_ = false;
  QWidget::changeEvent(event);
}

void TMarquee::WMSize() {
  scrollOffset_ = 0;
  stripReady_ = false;
  Wipe();
}

void TMarquee::Wipe() {
  scrolling_ = false;
  face_ = QImage();
}

void TMarquee::contextMenuEvent(QContextMenuEvent* event) {
  if (menu_ == nullptr) {
    QWidget::contextMenuEvent(event);
    return;
  }
  menu_->popup(event->globalPos());
  event->accept();
}

void TMarquee::BuildMenu() {
  menu_ = new QMenu(this);
  const auto addItem = [this](QMenu* menu, QActionGroup* group, const QString& caption,
                              void (TMarquee::*handler)()) {
    QAction* item = menu->addAction(caption);
    item->setCheckable(true);
    group->addAction(item);
    connect(item, &QAction::triggered, this, handler);
    return item;
  };

  QMenu* speed = menu_->addMenu(QStringLiteral("S&peed"));
  auto* speeds = new QActionGroup(speed);
  slowItem_ = addItem(speed, speeds, QStringLiteral("&Slow"), &TMarquee::SlowClick);
  mediumItem_ = addItem(speed, speeds, QStringLiteral("&Medium"), &TMarquee::MediumClick);
  fastItem_ = addItem(speed, speeds, QStringLiteral("&Fast"), &TMarquee::FastClick);

  QMenu* direction = menu_->addMenu(QStringLiteral("&Direction"));
  auto* directions = new QActionGroup(direction);
  leftItem_ = addItem(direction, directions, QStringLiteral("&Left"), &TMarquee::LeftClick);
  rightItem_ = addItem(direction, directions, QStringLiteral("&Right"), &TMarquee::RightClick);

  menu_->addSeparator();
  QAction* exit = menu_->addAction(QStringLiteral("E&xit"));
  connect(exit, &QAction::triggered, this, &TMarquee::ExitClick);

  slowItem_->setChecked(true);
}

void TMarquee::KillMenu() {
  delete menu_;
  menu_ = nullptr;
  slowItem_ = mediumItem_ = fastItem_ = leftItem_ = rightItem_ = nullptr;
}

void TMarquee::LeftClick() {
  direction_ = TDirection::tdLeft;
  leftItem_->setChecked(true);
}

void TMarquee::RightClick() {
  direction_ = TDirection::tdRight;
  rightItem_->setChecked(true);
}

QAction* TMarquee::SpeedItem(TSpeed speed) const {
  switch (speed) {
    case TSpeed::tsMedium:
      return mediumItem_;
    case TSpeed::tsFast:
      return fastItem_;
    case TSpeed::tsSlow:
      break;
  }
  return slowItem_;
}

QImage TMarquee::NewImage(QSize size) const {
  if (size.isEmpty()) return {};
  QImage image(size, QImage::Format_RGB32);
  // Text measured on the control has to fit the same text drawn into the image.
  constexpr double kInchesPerMeter = 0.0254;
  image.setDotsPerMeterX(qRound(logicalDpiX() / kInchesPerMeter));
  image.setDotsPerMeterY(qRound(logicalDpiY() / kInchesPerMeter));
  image.fill(color_);
  return image;
}

void TMarquee::EnsureFace() {
  if (scrolling_) {
    face_ = NewImage(size());
    QPainter painter(&face_);
    PaintScrolling(painter, rect());
    scrolling_ = false;
    return;
  }
  if (face_.size() == size()) return;
  face_ = NewImage(size());
  if (face_.isNull()) return;
  QPainter painter(&face_);
  PaintPanel(painter);
}

void TMarquee::PaintPanel(QPainter& painter) const {
  const auto colorsOf = [this](TBevelCut bevel) {
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    return bevel == TBevelCut::bvLowered ? std::pair(dark, light) : std::pair(light, dark);
  };
  QRect area = rect();
  painter.fillRect(area, color_);
  if (bevelOuter_ != TBevelCut::bvNone) {
    const auto [topLeft, bottomRight] = colorsOf(bevelOuter_);
    Frame3D(painter, area, topLeft, bottomRight, bevelWidth_);
  }
  area.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
  if (bevelInner_ != TBevelCut::bvNone) {
    const auto [topLeft, bottomRight] = colorsOf(bevelInner_);
    Frame3D(painter, area, topLeft, bottomRight, bevelWidth_);
  }
}

void TMarquee::EnsureStrip() {
  if (stripReady_) return;
  stripReady_ = true;
  const QFontMetrics metrics = fontMetrics();
  plainWidth_ = metrics.horizontalAdvance(plainText_);
  stripMargin_ = metrics.height();
  int width = 0;
  for (const Item& item : items_) width += metrics.horizontalAdvance(item.text) + kItemGap;
  strip_ = items_.isEmpty() ? QImage() : NewImage(QSize(width + 2 * stripMargin_, height()));
  if (strip_.isNull()) return;
  QPainter painter(&strip_);
  painter.setFont(font());
  int x = stripMargin_;
  for (const Item& item : items_) {
    DrawCell(painter, metrics, x, item.text, item.color, color_);
    x += metrics.horizontalAdvance(item.text) + kItemGap;
  }
}

QRect TMarquee::StripRect(int x) const {
  return QRect(QPoint(x - stripMargin_, 0), strip_.size());
}

void TMarquee::PaintScrolling(QPainter& painter, const QRect& area) const {
  painter.fillRect(area, color_);
  painter.drawImage(StripRect(scrollX_).topLeft(), strip_);
}

void TMarquee::DrawScrollingItems(int x) {
  // Without items the face keeps what it had, as there is nothing to draw.
  if (strip_.isNull()) return;
  // Only the columns the strip leaves or enters change, unless the control showed something else.
  const QRect changed = scrolling_ ? (StripRect(scrollX_) | StripRect(x)) & rect() : rect();
  scrolling_ = true;
  face_ = QImage();
  scrollX_ = x;
  if (!changed.isEmpty()) update(changed);
}

void TMarquee::DrawStillItems() {
  EnsureFace();
  if (face_.isNull()) return;
  QPainter painter(&face_);
  painter.setFont(font());
  const QFontMetrics metrics = fontMetrics();
  const qsizetype shown = std::clamp<qsizetype>(stillItemsNumber_, 0, items_.size());
  int x = 0;
  for (qsizetype i = 0; i < shown; ++i) {
    const Item& item = items_[stillItemsOrder_ == TOrder::toDescend ? shown - 1 - i : i];
    const QString cell = item.text + u' ';
    DrawCell(painter, metrics, x, cell, item.color, color_);
    x += metrics.horizontalAdvance(cell);
  }
  painter.end();
  update();
}

}  // namespace kiv
