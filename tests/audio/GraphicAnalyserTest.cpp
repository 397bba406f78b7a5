// The analyser's pictures, pixel by pixel: silence, the two traces' different rows for the same
// sample, the walk through the bytes, the flat line, and what the panel's box shows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <set>
#include <string>
#include <vector>

#include "audio/GraphicAnalyser.h"

namespace kiv {
namespace {

const QColor kPlay(0, 255, 0);
const QColor kRecord(255, 0, 0);
const QColor kBack(0, 0, 64);

// The box of a panel without a skin.
QImage AnalyserImage(int width = 35, int height = 18) {
  return QImage(width, height, QImage::Format_RGB32);
}

bool IsColor(const QImage& image, int x, int y, const QColor& color) {
  return QColor(image.pixel(x, y)) == color;
}

// The rows of column x drawn in `pen`, top to bottom.
std::vector<int> PenRows(const QImage& image, int x, const QColor& pen) {
  std::vector<int> rows;
  for (int y = 0; y < image.height(); ++y) {
    if (IsColor(image, x, y, pen)) rows.push_back(y);
  }
  return rows;
}

// The picture as text for failure messages: '#' for the pen, '.' for anything else.
std::string Drawing(const QImage& image, const QColor& pen) {
  std::string text = "\n";
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) text += IsColor(image, x, y, pen) ? '#' : '.';
    text += '\n';
  }
  return text;
}

// Every pixel is either the background or the pen, and the pen is exactly on `row`.
::testing::AssertionResult IsHorizontalLine(const QImage& image, int row, const QColor& pen) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor expected = y == row ? pen : kBack;
      if (QColor(image.pixel(x, y)) != expected) {
        return ::testing::AssertionFailure()
               << "pixel (" << x << ", " << y << ") is " << qPrintable(QColor(image.pixel(x, y)).name())
               << " instead of " << qPrintable(expected.name()) << Drawing(image, pen);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult IsBackgroundOnly(const QImage& image) {
  return IsHorizontalLine(image, -1, kPlay);
}

TEST(GraphicAnalyserTest, EachLevelLandsOnItsRowWhenPlayingAndWhenRecording) {
  // Silence is row 9; 85 x 18 = 6 x 255 is row 6 recording but row 5 playing; the loudest
  // sample is below the box recording; fewer bytes than columns draw the first one across.
  struct Case {
    bool recording;
    uint8_t level;
    int row;
  };
  for (const Case& c : {Case{true, 128, 9}, Case{false, 128, 9}, Case{true, 85, 6},
                        Case{false, 85, 5}, Case{false, 255, 17}, Case{true, 255, -1},
                        Case{false, 0, 0}}) {
    SCOPED_TRACE(std::to_string(c.level) + (c.recording ? " recording" : " playing"));
    QImage image = AnalyserImage();
    if (c.recording) {
      PaintRecordingTrace(image, kRecord, kBack, QByteArray(1024, char(c.level)));
    } else {
      const std::vector<uint8_t> bytes(551, c.level);
      PaintPlaybackTrace(image, kPlay, kBack, bytes.data(), qint64(bytes.size()));
    }
    EXPECT_TRUE(IsHorizontalLine(image, c.row, c.recording ? kRecord : kPlay));
  }
  QImage image = AnalyserImage();
  const uint8_t bytes[] = {200, 0, 255};
  PaintPlaybackTrace(image, kPlay, kBack, bytes, 3);
  EXPECT_TRUE(IsHorizontalLine(image, 14, kPlay));  // (200 x 18 - 1) div 255
}

TEST(GraphicAnalyserTest, PlaybackStepsThroughTheBytesByTheWholeQuotient) {
  // 104 bytes over 35 columns: every second byte (104 div 35 = 2), never an odd one.
  std::vector<uint8_t> bytes(104);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = i % 2 == 0 ? 0 : 255;
  QImage image = AnalyserImage();
  PaintPlaybackTrace(image, kPlay, kBack, bytes.data(), qint64(bytes.size()));
  EXPECT_TRUE(IsHorizontalLine(image, 0, kPlay));
}

TEST(GraphicAnalyserTest, NothingPlayedLeavesOnlyTheBackground) {
  QImage image = AnalyserImage();
  image.fill(Qt::white);
  const uint8_t bytes[] = {10};
  PaintPlaybackTrace(image, kPlay, kBack, bytes, 0);
  EXPECT_TRUE(IsBackgroundOnly(image));
  PaintPlaybackTrace(image, kPlay, kBack, bytes, -5);
  EXPECT_TRUE(IsBackgroundOnly(image));
}

TEST(GraphicAnalyserTest, RecordingTraceJoinsTwoLevelsWithOneStep) {
  // Eight columns walk the buffer 128 bytes at a time: columns 0-3 see 0 (row 0), columns 4-7
  // see 170 (170 x 18 div 255 = 12).
  QByteArray buffer(1024, char(0));
  for (int i = 512; i < 1024; ++i) buffer[i] = char(170);
  buffer[1] = char(255);  // between the sampled bytes: never drawn
  QImage image = AnalyserImage(8, 18);
  PaintRecordingTrace(image, kRecord, kBack, buffer);

  for (int x = 0; x < 3; ++x) EXPECT_THAT(PenRows(image, x, kRecord), ::testing::ElementsAre(0));
  for (int x = 5; x < 8; ++x) EXPECT_THAT(PenRows(image, x, kRecord), ::testing::ElementsAre(12));
  // The step from (3, 0) to (4, 12) leaves no gap in the rows between, and goes no further.
  std::set<int> step;
  for (int x : {3, 4}) {
    for (int y : PenRows(image, x, kRecord)) step.insert(y);
  }
  EXPECT_THAT(step, ::testing::ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12))
      << Drawing(image, kRecord);
  EXPECT_TRUE(IsColor(image, 3, 0, kRecord));
  EXPECT_TRUE(IsColor(image, 4, 12, kRecord));
  for (int x = 0; x < 8; ++x) {
    for (int y = 13; y < 18; ++y) EXPECT_TRUE(IsColor(image, x, y, kBack)) << x << "," << y;
  }
}

TEST(GraphicAnalyserTest, PlaybackTraceFollowsEachSampledByte) {
  // A saw tooth over five columns, one byte per column: rows 0, 4, 8, 12 and 17.
  const uint8_t bytes[] = {0, 57, 114, 171, 255};
  const int rows[] = {0, 4, 8, 12, 17};
  QImage image = AnalyserImage(5, 18);
  PaintPlaybackTrace(image, kPlay, kBack, bytes, 5);
  for (int x = 0; x < 5; ++x) {
    EXPECT_TRUE(IsColor(image, x, rows[x], kPlay)) << "column " << x;
    // Each column only holds the rising line between its neighbours' rows.
    for (int y : PenRows(image, x, kPlay)) {
      EXPECT_GE(y, x == 0 ? 0 : rows[x - 1]) << "column " << x;
      EXPECT_LE(y, x == 4 ? 17 : rows[x + 1]) << "column " << x;
    }
  }
}

TEST(GraphicAnalyserTest, FlatLineCrossesTheMiddleRowInTheColourGiven) {
  QImage even = AnalyserImage();
  PaintFlatLine(even, kRecord, kBack);
  EXPECT_TRUE(IsHorizontalLine(even, 9, kRecord));

  QImage odd = AnalyserImage(20, 7);
  PaintFlatLine(odd, kPlay, kBack);
  EXPECT_TRUE(IsHorizontalLine(odd, 3, kPlay));
}

TEST(GraphicAnalyserTest, PanelBoxShowsTheLastPictureInTheSkinColours) {
  QWidget box;
  box.resize(35, 18);
  GraphicAnalyser analyser(&box);
  analyser.AnalyserPlayColor = kPlay;
  analyser.AnalyserRecordColor = kRecord;
  analyser.AnalyserBackColor = kBack;

  analyser.DrawRecordingTrace(QByteArray(1024, char(128)));
  EXPECT_EQ(analyser.Picture().size(), QSize(35, 18));
  EXPECT_TRUE(IsHorizontalLine(analyser.Picture(), 9, kRecord));

  analyser.DrawIdleLine();
  EXPECT_TRUE(IsHorizontalLine(analyser.Picture(), 9, kPlay));
  // What the box paints is that picture.
  const QImage shown = box.grab().toImage();
  ASSERT_EQ(shown.size(), QSize(35, 18));
  EXPECT_TRUE(IsHorizontalLine(shown, 9, kPlay));

  const std::vector<uint8_t> quiet(551, 0);
  analyser.DrawPlaybackTrace(quiet.data(), qint64(quiet.size()));
  EXPECT_TRUE(IsHorizontalLine(analyser.Picture(), 0, kPlay));
}

}  // namespace
}  // namespace kiv
