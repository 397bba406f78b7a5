#include "audio/GraphicAnalyser.h"

#include <QEvent>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <algorithm>

namespace kiv {
namespace {

// Every picture starts from a solid background; the pen is one pixel wide and not smoothed, so
// a sample lands on exactly one row.
void StartPicture(const QImage& image, QPainter& painter, const QColor& pen, const QColor& back) {
  painter.fillRect(image.rect(), back);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(pen, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.setBrush(Qt::NoBrush);
}

// The walk both traces share: column x shows sample trunc(f), f growing by `step` per column.
// `row` maps a sample to its row. The float is kept for the step, as on the panel it always was.
template <typename Row>
void DrawWalk(QPainter& painter, int width, const uint8_t* bytes, qint64 n, float step, Row row) {
  QPolygon line;
  line.reserve(width + 1);
  line << QPoint(0, row(bytes[0]));
  float f = 0;
  for (int x = 0; x < width; ++x) {
    // Past 2^24 a float no longer counts in whole bytes; the walk must still stay inside.
    const qint64 index = std::min<qint64>(qint64(f), n - 1);
    line << QPoint(x, row(bytes[index]));
    f += step;
  }
  painter.drawPolyline(line);
}

}  // namespace

void PaintPlaybackTrace(QImage& image, const QColor& pen, const QColor& back,
                        const uint8_t* bytes, qint64 n) {
  if (image.isNull()) return;
  QPainter painter(&image);
  StartPicture(image, painter, pen, back);
  if (n <= 0) return;
  const int width = image.width();
  const int height = image.height();
  const float step = float(n / width);
  // Minus one: sample 255 lands on the last row instead of just below the box.
  DrawWalk(painter, width, bytes, n, step, [height](uint8_t b) { return (b * height - 1) / 255; });
}

void PaintRecordingTrace(QImage& image, const QColor& pen, const QColor& back,
                         const QByteArray& buffer) {
  if (image.isNull()) return;
  QPainter painter(&image);
  StartPicture(image, painter, pen, back);
  if (buffer.isEmpty()) return;
  const int width = image.width();
  const int height = image.height();
  const float step = float(unsigned(buffer.size()) / unsigned(width));
  DrawWalk(painter, width, reinterpret_cast<const uint8_t*>(buffer.constData()), buffer.size(),
           step, [height](uint8_t b) { return (b * height) / 255; });
}

void PaintFlatLine(QImage& image, const QColor& pen, const QColor& back) {
  if (image.isNull()) return;
  QPainter painter(&image);
  StartPicture(image, painter, pen, back);
  const int middle = image.height() / 2;
  painter.drawLine(0, middle, image.width() - 1, middle);
}

GraphicAnalyser::GraphicAnalyser(QWidget* paintBox1, QObject* parent)
    : QObject(parent), PaintBox1(paintBox1) {
  if (PaintBox1) PaintBox1->installEventFilter(this);
}

bool GraphicAnalyser::PrepareCanvas() {
  if (!PaintBox1 || PaintBox1->width() <= 0 || PaintBox1->height() <= 0) {
    picture_ = QImage();
    return false;
  }
  if (picture_.size() != PaintBox1->size()) {
    picture_ = QImage(PaintBox1->size(), QImage::Format_RGB32);
  }
  return true;
}

void GraphicAnalyser::Show() {
  if (PaintBox1) PaintBox1->update();
}

void GraphicAnalyser::DrawPlaybackTrace(const uint8_t* bytes, qint64 n) {
  if (!PrepareCanvas()) return;
  PaintPlaybackTrace(picture_, AnalyserPlayColor, AnalyserBackColor, bytes, n);
  Show();
}

void GraphicAnalyser::DrawRecordingTrace(const QByteArray& buffer) {
  if (!PrepareCanvas()) return;
  PaintRecordingTrace(picture_, AnalyserRecordColor, AnalyserBackColor, buffer);
  Show();
}

void GraphicAnalyser::DrawFlatLine(const QColor& color) {
  if (!PrepareCanvas()) return;
  PaintFlatLine(picture_, color, AnalyserBackColor);
  Show();
}

bool GraphicAnalyser::eventFilter(QObject* watched, QEvent* event) {
  // The box stays a plain widget of the panel; its own painting is its background, ours goes on
  // top. A box resized since the last drawing shows the old picture until the next one.
  if (watched == PaintBox1 && event->type() == QEvent::Paint && !picture_.isNull()) {
    QPainter painter(PaintBox1);
    painter.drawImage(0, 0, picture_);
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kiv
