#include "platform/OutputFeed.h"

#include <algorithm>
#include <cstring>

namespace kiv {

void OutputFeed::Load(const QByteArray& buffer) {
  buffer_ = buffer;
  taken_ = 0;
  Q_EMIT readyRead();
}

void OutputFeed::Clear() {
  buffer_.clear();
  taken_ = 0;
}

qint64 OutputFeed::readData(char* data, qint64 maxSize) {
  const qint64 count = std::min(maxSize, Remaining());
  if (count > 0) std::memcpy(data, buffer_.constData() + taken_, static_cast<size_t>(count));
  taken_ += count;
  return count;
}

qint64 OutputFeed::writeData(const char* /*data*/, qint64 /*maxSize*/) {
  return -1;  // a sink only reads
}

}  // namespace kiv
