// The Windows icon file format, as far as the tray icons need it: several square pictures in one
// file, each a 32-bit bitmap with its alpha channel plus the one-bit AND mask that readers
// without alpha support fall back on.
//
//   ICONDIR         6 bytes    reserved 0, type 1 (icon), picture count
//   ICONDIRENTRY   16 bytes    per picture: width, height (0 means 256), colour count 0,
//                              reserved 0, planes 1, bits per pixel 32, data size, data offset
//   picture data               per picture, in entry order:
//     BITMAPINFOHEADER   40 bytes, height doubled (colour rows, then mask rows)
//     colour rows        width * 4 bytes each (blue, green, red, alpha), bottom row first
//     mask rows          one bit per pixel, 1 = transparent, each row padded to 4 bytes,
//                        bottom row first
//
// All numbers are little-endian. Fully transparent pixels are written as all-zero colour with
// the mask bit set, so every reader, old or new, shows the same outline; any other pixel has
// its mask bit clear and its colour not premultiplied.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace icongen {

// The file holding `pictures` in the given order. Each picture must be square, 1 to 256 pixels.
QByteArray IcoFileBytes(const QList<QImage>& pictures);

}  // namespace icongen
