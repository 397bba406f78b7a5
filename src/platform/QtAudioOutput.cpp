#include "platform/QtAudioOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QMetaObject>
#include <algorithm>

#include "platform/OutputFeed.h"

namespace kiv {
namespace {

// How often a buffer that is out is checked for having been played to its end.
constexpr int kWatchMs = 10;
// A sink that has taken everything and whose clock then stands still this long (3 s) has lost
// its device; the buffer is given back rather than left hanging.
constexpr int kStalledWatches = 300;

QAudioFormat PcmFormat(uint32_t rate) {
  QAudioFormat format;
  format.setSampleFormat(QAudioFormat::UInt8);
  format.setChannelCount(1);
  format.setSampleRate(static_cast<int>(rate));
  return format;
}

}  // namespace

QtAudioOutput::QtAudioOutput(QObject* parent) : AudioOutput(parent), feed_(new OutputFeed(this)) {
  watch_.setInterval(kWatchMs);
  connect(&watch_, &QTimer::timeout, this, &QtAudioOutput::WatchBuffer);
}

QtAudioOutput::~QtAudioOutput() { Close(); }

void QtAudioOutput::DeleteLater(std::unique_ptr<QAudioSink>& device) {
  // Destroying a Qt audio device runs the event loop, which would hand buffers back in the
  // middle of the call that let go of it; it goes once the caller is done.
  QAudioSink* done = device.release();
  done->setParent(this);
  done->deleteLater();
}

int QtAudioOutput::Open(uint32_t rate) {
  Close();
  if (rate == 0 || rate > static_cast<uint32_t>(INT32_MAX)) return kAudioBadFormat;
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return kAudioNoDriver;
  const QAudioFormat format = PcmFormat(rate);
  if (!device.isFormatSupported(format)) return kAudioBadFormat;

  sink_ = std::make_unique<QAudioSink>(device, format);
  rate_ = rate;
  paused_ = false;
  playedBefore_ = 0;
  writtenThisRun_ = 0;
  feed_->Clear();
  // Unbuffered: QIODevice's own read-ahead would keep sound that Reset has to throw away.
  feed_->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  // Starting the sink here rather than at the first Write makes a refusal show up as Open's
  // result, where the engines look for it.
  if (!StartSink()) {
    const QAudio::Error error = sink_->error();
    DeleteLater(sink_);
    feed_->close();
    rate_ = 0;
    // A fatal error means the sound server itself is gone: as good as no device at all.
    return error == QAudio::FatalError ? kAudioNoDriver : kAudioAllocated;
  }
  connect(sink_.get(), &QAudioSink::stateChanged, this, &QtAudioOutput::OnSinkStateChanged);
  return kAudioOk;
}

bool QtAudioOutput::StartSink() {
  sink_->start(feed_);
  return sink_->error() == QAudio::NoError && sink_->state() != QAudio::StoppedState;
}

bool QtAudioOutput::Write(const QByteArray& buffer) {
  if (!sink_ || bufferOut_) return false;
  bufferOut_ = true;
  stalledWatches_ = 0;
  const uint64_t size = static_cast<uint64_t>(buffer.size());
  bufferEnd_ = Position() + size;
  writtenThisRun_ += size;
  if (size == 0) {
    ReturnBuffer();
    return true;
  }
  feed_->Load(buffer);
  if (!paused_) watch_.start();
  return true;
}

void QtAudioOutput::Pause() {
  if (!sink_) return;
  paused_ = true;
  watch_.stop();
  sink_->suspend();
}

void QtAudioOutput::Restart() {
  if (!sink_ || !paused_) return;
  paused_ = false;
  sink_->resume();
  if (bufferOut_) {
    stalledWatches_ = 0;
    watch_.start();
  }
}

void QtAudioOutput::Reset() {
  if (!sink_) return;
  watch_.stop();
  // Only stopping the sink throws away what the sound server has queued, so the sink is stopped
  // and started again on an empty feed; its clock starts again from zero.
  playedBefore_ += PlayedThisRun();
  writtenThisRun_ = 0;
  feed_->Clear();
  sink_->stop();
  if (bufferOut_) ReturnBuffer();
  if (StartSink()) {
    if (paused_) sink_->suspend();
  }
}

void QtAudioOutput::Close() {
  watch_.stop();
  if (sink_) {
    sink_->disconnect(this);
    sink_->stop();
    DeleteLater(sink_);
  }
  feed_->Clear();
  feed_->close();
  if (bufferOut_) ReturnBuffer();
  rate_ = 0;
  paused_ = false;
  playedBefore_ = 0;
  writtenThisRun_ = 0;
}

uint64_t QtAudioOutput::PlayedThisRun() const {
  if (!sink_) return 0;
  const qint64 usecs = sink_->processedUSecs();
  if (usecs <= 0) return 0;
  // Rounded: the sink counts whole microseconds, which at most rates are not whole bytes.
  const uint64_t bytes = (static_cast<uint64_t>(usecs) * rate_ + 500000U) / 1000000U;
  return std::min(bytes, writtenThisRun_);
}

uint64_t QtAudioOutput::Position() const { return playedBefore_ + PlayedThisRun(); }

void QtAudioOutput::WatchBuffer() {
  if (!bufferOut_ || !sink_) {
    watch_.stop();
    return;
  }
  const uint64_t position = Position();
  if (position >= bufferEnd_) {
    watch_.stop();
    ReturnBuffer();
    return;
  }
  if (feed_->Remaining() == 0 && position == lastWatchedPosition_) {
    if (++stalledWatches_ >= kStalledWatches) {
      watch_.stop();
      ReturnBuffer();
    }
  } else {
    stalledWatches_ = 0;
  }
  lastWatchedPosition_ = position;
}

void QtAudioOutput::OnSinkStateChanged() {
  // A failed device plays the buffer no further.
  if (sink_ && sink_->state() == QAudio::StoppedState && sink_->error() != QAudio::NoError &&
      bufferOut_) {
    watch_.stop();
    ReturnBuffer();
  }
}

void QtAudioOutput::ReturnBuffer() {
  bufferOut_ = false;
  // Delivered on the event loop, never inside the call that ended the buffer.
  QMetaObject::invokeMethod(
      this, [this] { Q_EMIT BufferDone(); }, Qt::QueuedConnection);
}

}  // namespace kiv
