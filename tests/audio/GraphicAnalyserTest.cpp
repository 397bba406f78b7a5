// The analyser's pictures, pixel by pixel: silence, the two traces' different rows for the same
// sample, the walk through the bytes, the flat line, and what the panel's box shows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "audio/GraphicAnalyser.h"

namespace kiv {
namespace {

const QColor kPlay(0, 255, 0);
const QColor kRecord(255, 0, 0);
const QColor kBack(0, 0, 64);

// Every pixel is either the background or the pen, and the pen is exactly on `row`; the picture
// is printed ('#' for the pen) when it is not.
::testing::AssertionResult IsHorizontalLine(const QImage& image, int row, const QColor& pen) {
  bool same = true;
  std::string drawing = "\n";
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor color(image.pixel(x, y));
      same = same && color == (y == row ? pen : kBack);
      drawing += color == pen ? '#' : '.';
    }
    drawing += '\n';
  }
  return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << drawing;
}

TEST(GraphicAnalyserTest, EachLevelLandsOnItsRowWhenPlayingAndWhenRecording) {
  // Silence is row 9; 85 x 18 = 6 x 255 is row 6 recording but row 5 playing; the loudest
  // sample is below the box recording; fewer bytes than columns draw the first one across.
  for (const auto& [recording, level, row] :
       {std::tuple{true, 128, 9}, std::tuple{false, 128, 9}, std::tuple{true, 85, 6},
        std::tuple{false, 85, 5}, std::tuple{false, 255, 17}, std::tuple{true, 255, -1},
        std::tuple{false, 0, 0}}) {
    SCOPED_TRACE(std::to_string(level) + (recording ? " recording" : " playing"));
    QImage image(35, 18, QImage::Format_RGB32);
    if (recording) {
      PaintRecordingTrace(image, kRecord, kBack, QByteArray(1024, char(level)));
    } else {
      const std::vector<uint8_t> bytes(551, uint8_t(level));
      PaintPlaybackTrace(image, kPlay, kBack, bytes.data(), qint64(bytes.size()));
    }
    EXPECT_TRUE(IsHorizontalLine(image, row, recording ? kRecord : kPlay));
  }
  QImage image(35, 18, QImage::Format_RGB32);
  const uint8_t bytes[] = {200, 0, 255};
  PaintPlaybackTrace(image, kPlay, kBack, bytes, 3);
  EXPECT_TRUE(IsHorizontalLine(image, 14, kPlay));  // (200 x 18 - 1) div 255
  // 104 bytes over 35 columns: every second byte (104 div 35 = 2), never an odd one.
  std::vector<uint8_t> alternating(104);
  for (size_t i = 0; i < alternating.size(); ++i) alternating[i] = i % 2 == 0 ? 0 : 255;
  PaintPlaybackTrace(image, kPlay, kBack, alternating.data(), qint64(alternating.size()));
  EXPECT_TRUE(IsHorizontalLine(image, 0, kPlay));
  // Nothing played leaves only the background.
  PaintPlaybackTrace(image, kPlay, kBack, bytes, 0);
  EXPECT_TRUE(IsHorizontalLine(image, -1, kPlay));
}

TEST(GraphicAnalyserTest, RecordingTraceJoinsTwoLevelsWithOneStep) {
  // Eight columns walk the buffer 128 bytes at a time: columns 0-3 see 0 (row 0), columns 4-7
  // see 170 (170 x 18 div 255 = 12).
  QByteArray buffer(1024, char(0));
  for (int i = 512; i < 1024; ++i) buffer[i] = char(170);
  buffer[1] = char(255);  // between the sampled bytes: never drawn
  QImage image(8, 18, QImage::Format_RGB32);
  PaintRecordingTrace(image, kRecord, kBack, buffer);

  // The step from (3, 0) to (4, 12) leaves no gap in the rows between, and goes no further.
  std::set<int> step;
  for (int x = 0; x < 8; ++x) {
    std::set<int> rows;
    for (int y = 0; y < 18; ++y) {
      if (QColor(image.pixel(x, y)) == kRecord) rows.insert(y);
    }
    if (x == 3 || x == 4) {
      step.insert(rows.begin(), rows.end());
    } else {
      EXPECT_THAT(rows, ::testing::ElementsAre(x < 3 ? 0 : 12)) << "column " << x;
    }
  }
  EXPECT_THAT(step, ::testing::ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12));
  EXPECT_EQ(QColor(image.pixel(3, 0)), kRecord);
  EXPECT_EQ(QColor(image.pixel(4, 12)), kRecord);
}

TEST(GraphicAnalyserTest, PanelBoxShowsTheLastPictureInTheSkinColours) {
  QWidget box;
  box.resize(35, 18);
  GraphicAnalyser analyser(&box);
  analyser.AnalyserPlayColor = kPlay;
  analyser.AnalyserRecordColor = kRecord;
  analyser.AnalyserBackColor = kBack;

  analyser.DrawRecordingTrace(QByteArray(1024, char(128)));
  EXPECT_TRUE(IsHorizontalLine(analyser.Picture(), 9, kRecord));
  analyser.DrawIdleLine();
  EXPECT_TRUE(IsHorizontalLine(analyser.Picture(), 9, kPlay));
  // What the box paints is that picture.
  EXPECT_TRUE(IsHorizontalLine(box.grab().toImage(), 9, kPlay));
  const std::vector<uint8_t> quiet(551, 0);
  analyser.DrawPlaybackTrace(quiet.data(), qint64(quiet.size()));
  EXPECT_TRUE(IsHorizontalLine(analyser.Picture(), 0, kPlay));

}

}  // namespace
}  // namespace kiv
