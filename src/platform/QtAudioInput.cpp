#include "platform/QtAudioInput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QIODevice>
#include <QMediaDevices>
#include <QMetaObject>
#include <algorithm>
#include <utility>

namespace kiv {

QtAudioInput::QtAudioInput(QObject* parent) : AudioInput(parent) {}

QtAudioInput::~QtAudioInput() { Close(); }

namespace {
constexpr qsizetype kServerBufferBytes = 2048;
}  // namespace

void QtAudioInput::DeleteLater(std::unique_ptr<QAudioSource>& device) {
  // Destroying a Qt audio device runs the event loop, which would hand buffers back in the
  // middle of the call that let go of it; it goes once the caller is done.
  QAudioSource* done = device.release();
  done->setParent(this);
  done->deleteLater();
}

int QtAudioInput::Open(uint32_t rate) {
  Close();
  if (rate == 0 || rate > static_cast<uint32_t>(INT32_MAX)) return kAudioBadFormat;
  const QAudioDevice device = QMediaDevices::defaultAudioInput();
  if (device.isNull()) return kAudioNoDriver;
  QAudioFormat format;
  format.setSampleFormat(QAudioFormat::UInt8);
  format.setChannelCount(1);
  format.setSampleRate(static_cast<int>(rate));
  if (!device.isFormatSupported(format)) return kAudioBadFormat;

  source_ = std::make_unique<QAudioSource>(device, format);
  // Started here, so that a refusal shows up as Open's result, and left running until Close:
  // Start and Stop only decide whether its sound is kept. Suspending the source instead would
  // cost a fresh latency negotiation with the sound server at every Start, up to a second
  // before the first sound arrives.
  // A small buffer makes the server hand over sound in small pieces: left to itself it may
  // gather seconds before the first piece arrives, and what it still holds at a stop is lost.
  source_->setBufferSize(kServerBufferBytes);
  sound_ = source_->start();
  const QAudio::Error error = source_->error();
  if (sound_ == nullptr || error != QAudio::NoError || source_->state() == QAudio::StoppedState) {
    DeleteLater(source_);
    sound_ = nullptr;
    // A fatal error means the sound server itself is gone: as good as no device at all.
    return error == QAudio::FatalError ? kAudioNoDriver : kAudioAllocated;
  }
  connect(sound_, &QIODevice::readyRead, this, &QtAudioInput::TakeSound);
  return kAudioOk;
}

bool QtAudioInput::AddBuffer(int size) {
  if (!source_ || size <= 0) return false;
  queue_.push_back(Buffer{size, {}});
  return true;
}

bool QtAudioInput::Start() {
  if (!source_) return false;
  if (source_->state() == QAudio::StoppedState) return false;
  // Sound the source delivered before this Start is not part of the recording.
  TakeSound();
  started_ = true;
  return true;
}

void QtAudioInput::Stop() {
  if (!source_) return;
  TakeSound();
  started_ = false;
  // The buffer being filled comes back with what it holds; the empty ones wait for the next
  // Start.
  if (!queue_.empty() && !queue_.front().data.isEmpty()) ReturnOldest();
}

void QtAudioInput::Reset() {
  if (source_) TakeSound();
  started_ = false;
  while (!queue_.empty()) ReturnOldest();
}

void QtAudioInput::Close() {
  started_ = false;
  if (source_) {
    sound_->disconnect(this);
    source_->stop();
    DeleteLater(source_);
    sound_ = nullptr;
  }
  for (Buffer& buffer : queue_) buffer.data.clear();
  while (!queue_.empty()) ReturnOldest();
}

void QtAudioInput::TakeSound() {
  if (!sound_) return;
  const QByteArray sound = sound_->readAll();
  if (!started_) return;
  qsizetype taken = 0;
  // With no buffer queued the sound is lost, as on a card whose driver has nowhere to put it.
  while (taken < sound.size() && !queue_.empty()) {
    Buffer& oldest = queue_.front();
    const qsizetype part = std::min<qsizetype>(oldest.size - oldest.data.size(),
                                               sound.size() - taken);
    oldest.data.append(sound.constData() + taken, part);
    taken += part;
    if (oldest.data.size() == oldest.size) ReturnOldest();
  }
}

void QtAudioInput::ReturnOldest() {
  QByteArray data = std::move(queue_.front().data);
  queue_.pop_front();
  // Delivered on the event loop, never inside the call that returned it.
  QMetaObject::invokeMethod(
      this, [this, data = std::move(data)] { Q_EMIT BufferFull(data); }, Qt::QueuedConnection);
}

}  // namespace kiv
