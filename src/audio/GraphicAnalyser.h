// The graphic analyser: the panel's little oscilloscope in `PaintBox1`. It draws the raw samples
// of what is being played or recorded as a line, and a flat line across the middle when nothing
// runs; it computes no level or peak.
//
// Each drawing is a whole picture: the background first, then the trace. The pictures are drawn
// by the free functions below onto an image of the box's current size, so they can be checked
// pixel by pixel; the analyser keeps the last one and shows it whenever the box is painted.
//
// Samples are unsigned 8-bit, 0 at the top edge and 255 at the bottom. The panel owns
// `PaintBox1` and the analyser; the analyser only paints on the box.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>

namespace kiv {

// The `n` bytes played since the previous progress tick, one sample per column, taking every
// (n div W)-th byte. Nothing but the background when n <= 0.
void PaintPlaybackTrace(QImage& image, const QColor& pen, const QColor& back,
                        const uint8_t* bytes, qint64 n);
// One captured buffer, before any rate conversion, walked the same way.
void PaintRecordingTrace(QImage& image, const QColor& pen, const QColor& back,
                         const QByteArray& buffer);
// A horizontal line through the middle row, from the left edge to the right.
void PaintFlatLine(QImage& image, const QColor& pen, const QColor& back);

class GraphicAnalyser final : public QObject {
  Q_OBJECT

 public:
  explicit GraphicAnalyser(QWidget* paintBox1, QObject* parent = nullptr);
  GraphicAnalyser(const GraphicAnalyser&) = delete;
  GraphicAnalyser& operator=(const GraphicAnalyser&) = delete;

  // The skin's colours ("GraphicAnalyserPlFGColor", "GraphicAnalyserRecFGColor",
  // "GraphicAnalyserBGColor"); the panel sets them whenever a skin is laid out.
  QColor AnalyserPlayColor = QColor(0, 255, 0);
  QColor AnalyserRecordColor = QColor(255, 0, 0);
  QColor AnalyserBackColor = QColor(0, 0, 0);

  void DrawPlaybackTrace(const uint8_t* bytes, qint64 n);
  void DrawPlaybackTrace(const QByteArray& bytes) {
    DrawPlaybackTrace(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size());
  }
  void DrawRecordingTrace(const QByteArray& buffer);
  void DrawFlatLine(const QColor& color);
  // The flat line once nothing plays or records.
  void DrawIdleLine() { DrawFlatLine(AnalyserPlayColor); }

  // The last picture drawn, as large as the box was then.
  const QImage& Picture() const { return picture_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A fresh image of the box's current size; null when the box has no area to draw on.
  bool PrepareCanvas();
  void Show();

  QPointer<QWidget> PaintBox1;
  QImage picture_;
};

}  // namespace kiv
