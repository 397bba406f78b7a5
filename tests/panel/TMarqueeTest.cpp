// The ticker's text items, their colours and how they are drawn while standing still.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <QImage>

#include "PanelTestSupport.h"
#include "panel/TMarquee.h"

namespace kiv {

void PrintTo(const TMarquee::Item& item, std::ostream* os) {
  *os << '{';
  PrintTo(item.text, os);
  *os << ", " << item.color.name().toStdString() << '}';
}

namespace {

using Item = TMarquee::Item;

const QColor kLime(0, 255, 0);

QList<Item> ItemsOf(const QString& text, bool* ok = nullptr) {
  TMarquee marquee;
  const bool parsed = marquee.SetText(text);
  if (ok != nullptr) *ok = parsed;
  return marquee.Items();
}

TEST(TMarqueeText, ColourTagsColourTheirItems) {
  EXPECT_EQ(ItemsOf(QStringLiteral("255%hello")),
            QList<Item>({{QStringLiteral("hello"), QColor(255, 0, 0)}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("65280%05.12.2026|16711680%14:03")),
            QList<Item>({{QStringLiteral("05.12.2026"), QColor(0, 255, 0)},
                         {QStringLiteral("14:03"), QColor(0, 0, 255)}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("1%a|2%b|3%c")),
            QList<Item>({{QStringLiteral("a"), kLime},
                         {QStringLiteral("b"), QColor(255, 255, 0)},
                         {QStringLiteral("c"), QColor(255, 0, 0)}}));
}

TEST(TMarqueeText, ItemsWithoutExactlyTwoTokensAreDrawnWholeInLime) {
  // The tag in front of "50%off" makes three tokens.
  EXPECT_EQ(ItemsOf(QStringLiteral("255%50%off")),
            QList<Item>({{QStringLiteral("255%50%off"), kLime}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("plain")), QList<Item>({{QStringLiteral("plain"), kLime}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("word%")), QList<Item>({{QStringLiteral("word%"), kLime}}));
  // A "%" at the very end starts no token: still a coloured item.
  EXPECT_EQ(ItemsOf(QStringLiteral("255%word%")),
            QList<Item>({{QStringLiteral("word"), QColor(255, 0, 0)}}));
  // Two words joined by "|": the second has no tag.
  EXPECT_EQ(ItemsOf(QStringLiteral("65280%first|second")),
            QList<Item>({{QStringLiteral("first"), kLime}, {QStringLiteral("second"), kLime}}));
}

TEST(TMarqueeText, SplittingStopsAtTheFirstEmptyPiece) {
  EXPECT_EQ(ItemsOf(QStringLiteral("a||b")), QList<Item>({{QStringLiteral("a"), kLime}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("a|b|")),
            QList<Item>({{QStringLiteral("a"), kLime}, {QStringLiteral("b"), kLime}}));
  EXPECT_TRUE(ItemsOf(QStringLiteral("|a")).isEmpty());
  // Without any bar the text is one item, even when empty.
  EXPECT_EQ(ItemsOf(QString()), QList<Item>({{QString(), kLime}}));
}

TEST(TMarqueeText, ColourThatIsNotANumberStopsTheParseKeepingEarlierItems) {
  bool ok = true;
  EXPECT_EQ(ItemsOf(QStringLiteral("1%a|x%b|c"), &ok), QList<Item>({{QStringLiteral("a"), kLime}}));
  EXPECT_FALSE(ok);
  EXPECT_TRUE(ItemsOf(QStringLiteral("%word"), &ok).isEmpty());
  EXPECT_FALSE(ok);
  ItemsOf(QStringLiteral("1%a|b"), &ok);
  EXPECT_TRUE(ok);
}

TEST(TMarqueeText, PlainTextHasOneBlankPerItem) {
  TMarquee marquee;
  marquee.SetText(QStringLiteral("255%ab|cd"));
  EXPECT_EQ(marquee.Text(), QStringLiteral("255%ab|cd"));
  EXPECT_EQ(marquee.PlainText(), QStringLiteral("ab cd "));
  marquee.SetText(QStringLiteral("x"));
  EXPECT_EQ(marquee.PlainText(), QStringLiteral("x "));
}

TEST(TMarqueeColours, NumbersOneToThreeAreNamedColours) {
  EXPECT_EQ(TMarquee::GetColor(1), kLime);
  EXPECT_EQ(TMarquee::GetColor(2), QColor(255, 255, 0));
  EXPECT_EQ(TMarquee::GetColor(3), QColor(255, 0, 0));
  EXPECT_EQ(TMarquee::GetColor(0), QColor(0, 0, 0));
  EXPECT_EQ(TMarquee::GetColor(0x804020), QColor(0x20, 0x40, 0x80));
}

TEST(TMarqueeColours, KeepsTheSkinsTags) {
  TMarquee marquee;
  marquee.SetColorTag(1, QStringLiteral("65280%"));
  marquee.SetColorTag(4, QStringLiteral("255%"));
  marquee.SetColorTag(5, QStringLiteral("1%"));
  EXPECT_EQ(marquee.ColorTag(1), QStringLiteral("65280%"));
  EXPECT_EQ(marquee.ColorTag(2), QString());
  EXPECT_EQ(marquee.ColorTag(4), QStringLiteral("255%"));
  EXPECT_EQ(marquee.ColorTag(5), QString());
}

int CountPixels(const QImage& image, const std::function<bool(QColor)>& match) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += match(image.pixelColor(x, y)) ? 1 : 0;
  }
  return count;
}

TEST(TMarqueeDrawing, ItemsAreDrawnInTheirColoursOnTheBackground) {
  TMarquee marquee;
  marquee.resize(200, 24);
  marquee.SetColor(QColor(0, 0, 64));
  QFont font = marquee.font();
  font.setPixelSize(18);
  font.setBold(true);
  marquee.setFont(font);

  marquee.SetText(QStringLiteral("255%RED"));
  QImage image = marquee.grab().toImage();
  EXPECT_EQ(image.pixelColor(199, 23), QColor(0, 0, 64));
  const auto reddish = [](QColor c) { return c.red() > 200 && c.green() < 60; };
  const auto greenish = [](QColor c) { return c.green() > 200 && c.red() < 60; };
  EXPECT_GT(CountPixels(image, reddish), 20);
  EXPECT_EQ(CountPixels(image, greenish), 0);

  // The second item starts right of the first.
  marquee.SetText(QStringLiteral("255%RED|GREEN"));
  image = marquee.grab().toImage();
  int firstGreen = image.width();
  int lastRed = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (greenish(image.pixelColor(x, y))) firstGreen = std::min(firstGreen, x);
      if (reddish(image.pixelColor(x, y))) lastRed = std::max(lastRed, x);
    }
  }
  EXPECT_GE(lastRed, 0);
  EXPECT_GT(firstGreen, lastRed);
}

}  // namespace
}  // namespace kiv
