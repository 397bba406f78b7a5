// The one buffer an output device is playing, as the QIODevice a QAudioSink pulls its sound
// from. It is a stream (sequential): the sink reads it once, front to back, and a new buffer
// replaces whatever the old one had left. Open it Unbuffered, or Clear cannot reach the bytes
// QIODevice has read ahead.
#pragma once

#include <QByteArray>
#include <QIODevice>

namespace kiv {

class OutputFeed final : public QIODevice {
  Q_OBJECT

 public:
  using QIODevice::QIODevice;

  // Hands the sink `buffer` from its first byte on; the sink hears about it through readyRead.
  void Load(const QByteArray& buffer);
  // Drops what the sink has not taken yet.
  void Clear();
  // Bytes the sink has not taken yet.
  qint64 Remaining() const { return buffer_.size() - taken_; }

  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override { return Remaining() + QIODevice::bytesAvailable(); }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 maxSize) override;

 private:
  QByteArray buffer_;
  qint64 taken_ = 0;
};

}  // namespace kiv
