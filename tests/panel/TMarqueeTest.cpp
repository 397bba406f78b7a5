// The ticker: its text items and colours, the step timer and its speeds, the built-in menu, and
// where each step puts the items on the control's face.
#include <gtest/gtest.h>

#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>

#include "PanelTestSupport.h"
#include "panel/TMarquee.h"

namespace kiv {
namespace {

const QColor kLime(0, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBack(0, 0, 64);

// The items of `text` on one line, "text#rrggbb" each, joined by " | "; "!" ends a failed parse.
QString ItemsOf(const QString& text) {
  TMarquee marquee;
  const bool parsed = marquee.SetText(text);
  QStringList items;
  for (const TMarquee::Item& item : marquee.Items()) items.append(item.text + item.color.name());
  return items.join(QStringLiteral(" | ")) + (parsed ? QString() : QStringLiteral("!"));
}

TEST(TMarqueeText, ItemsTheirColoursAndWhereParsingStops) {
  const std::pair<const char*, const char*> cases[] = {
      {"255%hello", "hello#ff0000"}, {"50%off", "off#320000"},
      {"1%a|2%b|3%c", "a#00ff00 | b#ffff00 | c#ff0000"},
      // Not exactly two tokens: the whole item, in lime. A final "%" starts no token.
      {"255%50%off", "255%50%off#00ff00"}, {"word%", "word%#00ff00"},
      {"255%word%", "word#ff0000"}, {"65280%first|second", "first#00ff00 | second#00ff00"},
      // Splitting stops at the first empty piece; without a bar the text is one item.
      {"a||b", "a#00ff00"}, {"|a", ""}, {"", "#00ff00"},
      // A colour that is not a number ends the parse, keeping the items before it.
      {"1%a|x%b|c", "a#00ff00!"}, {"%%", "!"},
  };
  for (const auto& [text, items] : cases)
    EXPECT_EQ(ItemsOf(QString::fromUtf8(text)), QString::fromUtf8(items)) << text;
}

TEST(TMarqueeTimer, RunsWhileActiveAtTheChosenSpeed) {
  TMarquee marquee;
  EXPECT_EQ(marquee.StepTimer().interval(), 250);
  marquee.SetActive(true);
  EXPECT_TRUE(marquee.StepTimer().isActive());
  marquee.SetSpeed(TSpeed::tsFast);
  EXPECT_EQ(marquee.StepTimer().interval(), 30);
  // A text that fails to parse stops the timer while the ticker stays Active; a text that
  // parses runs it again.
  EXPECT_FALSE(marquee.SetText(QStringLiteral("1%a|x%b")));
  EXPECT_FALSE(marquee.StepTimer().isActive());
  EXPECT_TRUE(marquee.SetText(QStringLiteral("fine")));
  EXPECT_TRUE(marquee.StepTimer().isActive());
  // A stopped ticker stays stopped through a change of speed or text.
  marquee.SetActive(false);
  marquee.SetSpeed(TSpeed::tsFast);
  EXPECT_TRUE(marquee.SetText(QStringLiteral("a")));
  EXPECT_FALSE(marquee.StepTimer().isActive());
}

// The menu on one line: submenus in brackets, ticked items starred, separators as "-".
QString Outline(const QMenu* menu) {
  QStringList items;
  for (const QAction* action : menu->actions()) {
    items.append(action->isSeparator() ? QStringLiteral("-")
                 : action->menu()      ? action->text() + u'[' + Outline(action->menu()) + u']'
                 : action->isChecked() ? action->text() + u'*'
                                       : action->text());
  }
  return items.join(u' ');
}

void Trigger(const TMarquee& marquee, const QString& caption) {
  for (QAction* item : marquee.BuiltInMenu()->findChildren<QAction*>()) {
    if (item->text() == caption) return item->trigger();
  }
  ADD_FAILURE() << "no menu item " << caption.toStdString();
}

TEST(TMarqueeMenu, SpeedDirectionAndExitItems) {
  TMarquee marquee;
  const QMenu* menu = marquee.BuiltInMenu();
  QSignalSpy exits(&marquee, &TMarquee::ExitRequest);
  EXPECT_EQ(Outline(menu),
            QStringLiteral("S&peed[&Slow* &Medium &Fast] &Direction[&Left &Right] - E&xit"));
  Trigger(marquee, QStringLiteral("&Medium"));
  EXPECT_EQ(marquee.StepTimer().interval(), 60);
  Trigger(marquee, QStringLiteral("&Right"));
  EXPECT_EQ(marquee.Direction(), TDirection::tdRight);
  // A speed set from outside ticks its item as the menu's own do.
  marquee.SetSpeed(TSpeed::tsFast);
  EXPECT_EQ(Outline(menu),
            QStringLiteral("S&peed[&Slow &Medium &Fast*] &Direction[&Left &Right*] - E&xit"));
  Trigger(marquee, QStringLiteral("E&xit"));
  EXPECT_EQ(exits.count(), 1);
}

// The first column of `image` holding `color`, or -1 when there is none.
int FirstColumnOf(const QImage& image, QColor color) {
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < image.height(); ++y) {
      if (image.pixelColor(x, y) == color) return x;
    }
  }
  return -1;
}

int CountOf(const QImage& image, QColor color, QRect area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += image.pixelColor(x, y) == color;
  }
  return count;
}

// A shown ticker with a font whose text pixels are all exactly the text colour. Shown, because
// a hidden widget gets its resize event only when it is first rendered.
class TMarqueeDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    marquee.resize(200, 24);
    marquee.SetColor(kBack);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(18);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    marquee.setFont(font);
    marquee.show();
  }

  QImage Face() { return marquee.grab().toImage(); }
  int Advance(const char* text) const {
    return marquee.fontMetrics().horizontalAdvance(QString::fromUtf8(text));
  }
  // Where the ink of `text` begins in `color` on a face whose step drew it from column `x`.
  int Ink(const char* text, int x) const {
    QImage image(Advance(text) + 20, marquee.height(), QImage::Format_RGB32);
    image.fill(kBack);
    QPainter painter(&image);
    painter.setFont(marquee.font());
    painter.setPen(kRed);
    painter.drawText(0, marquee.fontMetrics().ascent(), QString::fromUtf8(text));
    painter.end();
    return x + FirstColumnOf(image, kRed);
  }
  void Steps(int count) {
    for (int i = 0; i < count; ++i) marquee.TimerFired();
  }

  TMarquee marquee;
};

// The wrap edges are chosen to be whole steps away, so that a step lands exactly on them.
TEST_F(TMarqueeDrawing, LeftStepsEnterAtTheRightAndWrapOnReachingTextAndControlWidth) {
  marquee.SetText(QStringLiteral("255%RED|65280%GREEN"));
  const int plain = Advance("RED GREEN ");
  const int width = 200 + (5 - (plain + 200) % 5) % 5;
  marquee.resize(width, 24);
  // Each step draws at the offset the step before left, then moves on by 5.
  Steps(31);
  EXPECT_EQ(marquee.ScrollOffset(), 155);
  QImage face = Face();
  EXPECT_EQ(FirstColumnOf(face, kRed), Ink("RED", width - 150));
  Steps((plain + width) / 5 - 32);
  EXPECT_EQ(marquee.ScrollOffset(), plain + width - 5);
  // The step that wraps draws the text wholly left of the control.
  marquee.TimerFired();
  EXPECT_EQ(marquee.ScrollOffset(), 0);
  face = Face();
  EXPECT_EQ(FirstColumnOf(face, kRed), -1);
  EXPECT_EQ(FirstColumnOf(face, kLime), -1);
  // The text enters again from the right edge.
  Steps(11);
  EXPECT_EQ(FirstColumnOf(Face(), kRed), Ink("RED", width - 50));
}

TEST_F(TMarqueeDrawing, RightOffsetWrapsOnTheStepThatReachesTheInnerEdge) {
  marquee.SetBevelOuter(TBevelCut::bvRaised);
  marquee.SetBorderWidth(2);
  marquee.resize(197, 24);
  marquee.SetDirection(TDirection::tdRight);
  marquee.SetText(QStringLiteral("255%RED|65280%GREEN"));
  // Inset 2 + 1 + 4 on each side: the inner rectangle ends before column 190.
  ASSERT_EQ(marquee.ClearRect(false), QRect(7, 7, 183, 10));
  // Steps start three pixels in from the left.
  Steps(1);
  EXPECT_EQ(FirstColumnOf(Face(), kRed), Ink("RED", 3));
  EXPECT_EQ(FirstColumnOf(Face(), kLime), Ink("GREEN", 3 + Advance("RED") + 5));
  Steps(36);
  EXPECT_EQ(marquee.ScrollOffset(), 185);
  marquee.TimerFired();
  EXPECT_EQ(marquee.ScrollOffset(), 7 - Advance("RED GREEN "));
}

TEST_F(TMarqueeDrawing, StillItemsStandInTheChosenOrderAndNumber) {
  marquee.resize(300, 24);
  marquee.SetDirection(TDirection::tdNone);
  marquee.SetText(QStringLiteral("255%RED|65280%GREEN|16711680%BLUE"));
  Steps(3);
  QImage face = Face();
  EXPECT_EQ(FirstColumnOf(face, kLime), Ink("GREEN", 0));
  EXPECT_EQ(FirstColumnOf(face, kRed), Ink("RED", Advance("GREEN ")));
  EXPECT_EQ(FirstColumnOf(face, kBlue), -1);

  marquee.SetStillItemsOrder(TOrder::toAscend);
  marquee.SetStillItemsNumber(5);
  marquee.TimerFired();
  face = Face();
  EXPECT_EQ(FirstColumnOf(face, kRed), Ink("RED", 0));
  EXPECT_EQ(FirstColumnOf(face, kBlue), Ink("BLUE", Advance("RED GREEN ")));
  // Fewer items stand over the old ones: their cells take the background, whatever was there.
  marquee.SetStillItemsNumber(1);
  marquee.SetStillItemsOrder(TOrder::toDescend);
  marquee.TimerFired();
  face = Face();
  EXPECT_EQ(FirstColumnOf(face, kRed), Ink("RED", 0));
  EXPECT_EQ(CountOf(face, kLime, QRect(0, 0, Advance("RED "), 24)), 0);
}

TEST_F(TMarqueeDrawing, SetTextClearsTheInnerRectangleBetweenBorderBevelsAndMargin) {
  EXPECT_EQ(marquee.ClearRect(false), QRect(4, 4, 192, 16));
  marquee.SetBevelInner(TBevelCut::bvLowered);
  marquee.SetBevelOuter(TBevelCut::bvSpace);
  marquee.SetBevelWidth(2);
  marquee.SetBorderWidth(1);
  const QRect inner = marquee.ClearRect(false);
  EXPECT_EQ(inner, QRect(9, 9, 182, 6));
  // The bare panel: the outer bevel raised-looking, the border, the inner bevel sunk.
  const QImage bare = Face();
  EXPECT_EQ(bare.pixelColor(1, 1).rgb(), marquee.palette().color(QPalette::Light).rgb());
  EXPECT_EQ(bare.pixelColor(2, 2), kBack);
  EXPECT_EQ(bare.pixelColor(4, 4).rgb(), marquee.palette().color(QPalette::Dark).rgb());

  marquee.SetDirection(TDirection::tdNone);
  marquee.SetText(QStringLiteral("255%RED RED RED"));
  marquee.TimerFired();
  ASSERT_GT(CountOf(Face(), kRed, inner), 0);
  // A text that begins with "|" has no items: cleared, and the next step draws nothing.
  marquee.SetText(QStringLiteral("|RED"));
  marquee.TimerFired();
  EXPECT_EQ(CountOf(Face(), kBack, inner), inner.width() * inner.height());
}

TEST_F(TMarqueeDrawing, ResizeFontAndColourChangesTakeEffect) {
  marquee.SetText(QStringLiteral("255%RED"));
  Steps(12);
  ASSERT_NE(FirstColumnOf(Face(), kRed), -1);
  marquee.resize(260, 30);
  EXPECT_EQ(marquee.ScrollOffset(), 0);
  EXPECT_EQ(CountOf(Face(), kBack, QRect(0, 0, 260, 30)), 260 * 30);
  Steps(3);
  EXPECT_EQ(FirstColumnOf(Face(), kRed), Ink("RED", 250));
  // A new font takes effect at the next step: this one's ink ends above row 10.
  QFont small = marquee.font();
  small.setPixelSize(8);
  marquee.setFont(small);
  Steps(1);
  EXPECT_EQ(CountOf(Face(), kRed, QRect(0, 10, 260, 20)), 0);
  marquee.SetColor(kBlue);
  EXPECT_EQ(CountOf(Face(), kBlue, QRect(0, 0, 260, 30)), 260 * 30);
}

}  // namespace
}  // namespace kiv
