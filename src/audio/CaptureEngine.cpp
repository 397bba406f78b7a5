#include "audio/CaptureEngine.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "audio/CaptureView.h"
#include "cassette/Cassette.h"
#include "platform/AudioDevices.h"
#include "platform/Dialogs.h"
#include "platform/FreeSpace.h"
#include "transport/CounterText.h"

namespace kiv {
namespace {

// All buffers but one before the cassette is touched; StartCapture adds the last once the device
// runs, so the device never starts without a full queue's worth of headroom but one.
constexpr int kBuffersBeforeStart = CaptureEngine::kMaxQueuedBuffers - 1;

// Tried in this order when the card refuses the cassette's own rate.
constexpr uint32_t kFallbackRates[] = {8000, 11025, 22050, 44100};

QString MessageLabelText(const Cassette& cassette) {
  return QString::fromStdString(cassette.MessageLabelText());
}

}  // namespace

CaptureEngine::CaptureEngine(Cassette& cassette, AudioInput& input, const FreeSpace& freeSpace,
                             Dialogs& dialogs, CaptureView& view, QObject* parent)
    : QObject(parent),
      cassette_(cassette),
      input_(input),
      freeSpace_(freeSpace),
      dialogs_(dialogs),
      view_(view) {
  connect(&input_, &AudioInput::BufferFull, this, &CaptureEngine::OnInputData);
}

CaptureEngine::~CaptureEngine() {
  // Left open, the card would go on filling buffers that nobody takes back.
  if (input_.IsOpen()) CloseInput();
}

QString CaptureEngine::Error07Caption() {
  return QStringLiteral("Kiv Sound Recorder - Error #07");
}

QString CaptureEngine::Error07Text() {
  return QStringLiteral(
      "Kiv Sound Recorder can not start recording.\r\n"
      "If your sound card is half-duplex playback from another program and recording at the same "
      "time is not possible.\r\n"
      "Possible reasons also include blocked access to the sound card by another program and "
      "non-matching input/output sampling rates.");
}

void CaptureEngine::ShowError07() {
  dialogs_.MessageBox(Error07Text(), Error07Caption(), MB_OK | MB_ICONHAND);
}

bool CaptureEngine::OpenInput(uint32_t rate) {
  int code = input_.Open(rate);
  uint32_t opened = rate;
  // Only a refused format is worth another rate; busy or missing hardware stays so at any rate.
  if (code == kAudioBadFormat) {
    for (uint32_t fallback : kFallbackRates) {
      code = input_.Open(fallback);
      if (code == kAudioOk) {
        opened = fallback;
        break;
      }
    }
  }
  if (code != kAudioOk) {
    input_.Close();
    return false;
  }
  captureRatio_ = float(cassette_.BaseRate()) / float(opened);
  return true;
}

uint32_t CaptureEngine::DeviceRate() const {
  return uint32_t(std::trunc(double(cassette_.BaseRate()) / double(captureRatio_)));
}

bool CaptureEngine::QueueCaptureBuffer() {
  if (queuedCaptureBuffers_ > kMaxQueuedBuffers - 1) return false;
  bool added = false;
  try {
    added = input_.AddBuffer(captureBufferSize_);
  } catch (const std::bad_alloc&) {
    // The recording goes on with one buffer fewer; the next returned buffer tries again.
    dialogs_.ShowMessage(QStringLiteral("Error: Out of Memory"));
    return false;
  }
  if (!added) return false;
  ++queuedCaptureBuffers_;
  return true;
}

bool CaptureEngine::StartCapture() {
  if (!input_.Start()) return false;
  while (queuedCaptureBuffers_ < kMaxQueuedBuffers) {
    if (!QueueCaptureBuffer()) break;
  }
  return true;
}

void CaptureEngine::PauseCapture() {
  if (!recording_ || recordPaused_) return;
  // Set before the device is stopped: the buffer it was filling comes back as paused sound.
  recordPaused_ = true;
  input_.Stop();
  QueueCaptureBuffer();
}

bool CaptureEngine::ResumeCapture() {
  if (!recording_ || !recordPaused_) return recording_;
  if (!StartCapture()) {
    ShowError07();
    return false;
  }
  recordPaused_ = false;
  return true;
}

void CaptureEngine::CloseInput() {
  input_.Stop();
  input_.Reset();
  input_.Close();
}

bool CaptureEngine::FailStart() {
  if (input_.IsOpen()) CloseInput();
  // Whatever the device still holds comes back after this and is discarded, not counted.
  queuedCaptureBuffers_ = 0;
  view_.ShowRecordKeyAtRest();
  view_.SetTrayHint(ApplicationTitle());
  ShowError07();
  return false;
}

bool CaptureEngine::StartRecording() {
  if (recordPaused_) return ResumeCapture();
  if (recording_) return true;

  if (!OpenInput(cassette_.BaseRate())) return FailStart();
  for (int i = 0; i < kBuffersBeforeStart; ++i) QueueCaptureBuffer();

  const Status begun = cassette_.BeginRecording();
  if (!begun.ok()) {
    // The device is of no use without a table to record against; it is closed before the
    // cassette changes under it.
    if (input_.IsOpen()) CloseInput();
    if (begun.code() == StatusCode::NoTable) {
      const Status replaced = cassette_.ReplaceWithDefaultBlank();
      if (replaced.ok()) {
        view_.CassetteReplaced();
      } else {
        dialogs_.ShowMessage(QString::fromStdString(replaced.message()));
      }
    }
    return FailStart();
  }

  view_.SetMessageLabel(QStringLiteral("rec"));
  view_.ShowCustomText();
  capturedBytes_ = 0;
  captureBufferSize_ = kDefaultCaptureBufferSize;
  view_.SetMenuItemEnabled(MenuItem::delMsg, false);
  view_.SetMenuItemEnabled(MenuItem::ExportMessage1, false);

  if (!StartCapture()) {
    // Nothing has been captured, so the cassette goes back to how it was: no sidecar, the
    // selected message's bounds and the file free again. Left begun, the recording would hold
    // the file and the selection until the next Record. With no sound written there is no
    // table to put back, only the sidecar to remove; a sidecar that stays is repaired by the
    // next open, and the user hears of the failed start below either way.
    (void)cassette_.AbandonRecording();
    view_.SetMessageLabel(MessageLabelText(cassette_));
    view_.SetMenuItemEnabled(MenuItem::delMsg, true);
    view_.SetMenuItemEnabled(MenuItem::ExportMessage1, true);
    return FailStart();
  }
  recording_ = true;
  view_.ShowRecordingState();
  return true;
}

QByteArray CaptureEngine::ToCassetteRate(const QByteArray& data) const {
  if (captureRatio_ == 1.0f) return data;
  // No filter and no interpolation: a slower card's bytes are repeated (once for every whole
  // number below the ratio, so 1.378125 gives two and 5.5125 six), a faster card's thinned out
  // (0.5 keeps every second byte, 0.25 every fourth).
  int repeats = 0;
  while (float(repeats) < captureRatio_) ++repeats;
  const qsizetype stride =
      captureRatio_ < 1.0f ? qsizetype(std::floor(1.0f / captureRatio_)) : qsizetype(1);
  QByteArray converted;
  converted.reserve((data.size() + stride - 1) / stride * repeats);
  for (qsizetype i = 0; i < data.size(); i += stride) converted.append(repeats, data[i]);
  return converted;
}

void CaptureEngine::OnInputData(const QByteArray& data) {
  if (!recording_) return;
  // The device hands back only what it was given; a buffer beyond that count means the device
  // and the engine disagree, which the user hears about but the sound does not suffer from.
  if (queuedCaptureBuffers_ > 0) {
    --queuedCaptureBuffers_;
  } else {
    dialogs_.ShowMessage(QStringLiteral("Can't unprepare IN Header!"));
  }

  if (recordPaused_) {
    QueueCaptureBuffer();
    RefreshRemainingTime();
    return;
  }

  view_.SetMessageLabel(QStringLiteral("rec"));
  view_.StartWheels();

  // Checked before any byte of this buffer is written, so a stopped message ends at the last
  // buffer that still fitted.
  const double freeMiB = freeSpace_.FreeMiB(QString::fromStdString(cassette_.CassettePath()));
  const RunningCheck check = cassette_.CheckRunningRecording(freeMiB);
  if (check != RunningCheck::Ok) {
    StopRecording();
    view_.RunningCheckRefused(check);
    RefreshRemainingTime();
    return;
  }

  const QByteArray sound = ToCassetteRate(data);
  const Status written = cassette_.WriteSound(reinterpret_cast<const uint8_t*>(sound.constData()),
                                              size_t(sound.size()));
  if (!written.ok()) {
    // What reached the disk is kept as the message; the sentence says which file failed.
    StopRecording();
    dialogs_.ShowMessage(QString::fromStdString(written.message()));
    RefreshRemainingTime();
    return;
  }

  // Device bytes over the device rate: the elapsed time, whatever the conversion wrote.
  capturedBytes_ += uint32_t(data.size());
  const uint32_t elapsed = capturedBytes_ / std::max<uint32_t>(DeviceRate(), 1);
  view_.SetCounterText(QString::fromStdString(RecordingCounterText(elapsed)));
  view_.DrawRecordingTrace(data);
  QueueCaptureBuffer();
}

void CaptureEngine::StopRecording() {
  if (!recording_) return;
  if (recordPaused_) StartCapture();
  CloseInput();

  const Status ended = cassette_.EndRecording(view_.AutoRewindOnStop());
  if (!ended.ok()) {
    // The sidecar is still on disk and the next open of the cassette recovers the message; until
    // then the head stands at the recording's start, in a message of no length.
    cassette_.Head().SelectMessage(cassette_.MessageStart(), cassette_.MessageEnd());
    dialogs_.ShowMessage(QString::fromStdString(ended.message()));
  }
  for (MenuItem item : {MenuItem::delMsg, MenuItem::DeleteCassette1, MenuItem::ListNotations1,
                        MenuItem::EnterNote1}) {
    view_.SetMenuItemEnabled(item, true);
  }
  view_.SetMenuItemEnabled(MenuItem::ExportMessage1, true);

  const CounterSeconds counter = cassette_.Head().Seconds();
  view_.SetCounterText(QString::fromStdString(CounterText(counter.length, counter.position)));
  view_.SetMessageLabel(MessageLabelText(cassette_));

  recordPaused_ = false;
  recording_ = false;
  queuedCaptureBuffers_ = 0;
  view_.SetTrayHint(ApplicationTitle());
  view_.DrawIdleLine();
  view_.ShowIdleState(cassette_.PrevEnabled(), cassette_.NextEnabled());
  // The new message is the selected one now, and a selection puts the custom text back on the
  // ticker, however it was left while recording.
  view_.ShowCustomText();
  cassette_.CloseStream();
}

void CaptureEngine::RefreshRemainingTime() {
  view_.SetRemainingTimeHint(QString::fromStdString(cassette_.RemainingTimeHint(recordPaused_)));
}

}  // namespace kiv
