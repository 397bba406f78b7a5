#include "IcoFile.h"

#include <cstdint>

namespace icongen {
namespace {

constexpr int kDirSize = 6;
constexpr int kEntrySize = 16;
constexpr int kInfoHeaderSize = 40;

void Put16(QByteArray& out, int value) {
  const auto v = static_cast<std::uint16_t>(value);
  out.append(static_cast<char>(v & 0xFF));
  out.append(static_cast<char>(v >> 8));
}

void Put32(QByteArray& out, qint64 value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.append(static_cast<char>((v >> shift) & 0xFF));
}

int MaskStride(int width) { return (width + 31) / 32 * 4; }

qint64 DataSize(int side) {
  return kInfoHeaderSize + qint64(side) * side * 4 + qint64(MaskStride(side)) * side;
}

QByteArray PictureData(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  const int side = image.width();
  QByteArray out;
  out.reserve(static_cast<qsizetype>(DataSize(side)));

  Put32(out, kInfoHeaderSize);
  Put32(out, side);
  Put32(out, 2 * side);  // the colour rows and the mask rows together
  Put16(out, 1);         // planes
  Put16(out, 32);        // bits per pixel
  Put32(out, 0);         // no compression
  Put32(out, DataSize(side) - kInfoHeaderSize);
  Put32(out, 0);  // pixels per metre, x and y: unused in icons
  Put32(out, 0);
  Put32(out, 0);  // palette entries: none at 32 bits
  Put32(out, 0);

  for (int y = side - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < side; ++x) {
      const QRgb pixel = qAlpha(line[x]) == 0 ? 0 : line[x];
      out.append(static_cast<char>(qBlue(pixel)));
      out.append(static_cast<char>(qGreen(pixel)));
      out.append(static_cast<char>(qRed(pixel)));
      out.append(static_cast<char>(qAlpha(pixel)));
    }
  }

  const int stride = MaskStride(side);
  for (int y = side - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    QByteArray row(stride, '\0');
    for (int x = 0; x < side; ++x) {
      if (qAlpha(line[x]) == 0) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    }
    out.append(row);
  }
  return out;
}

}  // namespace

QByteArray IcoFileBytes(const QList<QImage>& pictures) {
  QByteArray out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // an icon, not a cursor
  Put16(out, static_cast<int>(pictures.size()));

  qint64 offset = kDirSize + qint64(kEntrySize) * pictures.size();
  for (const QImage& picture : pictures) {
    Q_ASSERT(picture.width() == picture.height() && picture.width() >= 1 && picture.width() <= 256);
    const int side = picture.width();
    const char sideByte = static_cast<char>(side == 256 ? 0 : side);
    out.append(sideByte);
    out.append(sideByte);
    out.append('\0');  // colour count: not a palette picture
    out.append('\0');  // reserved
    Put16(out, 1);     // planes
    Put16(out, 32);    // bits per pixel
    Put32(out, DataSize(side));
    Put32(out, offset);
    offset += DataSize(side);
  }
  for (const QImage& picture : pictures) out.append(PictureData(picture));
  return out;
}

}  // namespace icongen
