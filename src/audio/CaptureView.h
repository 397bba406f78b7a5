// What the capture engine needs from the front panel while it records: the key pictures, labels,
// hints, menu items, the counter, the waveform display and the tape wheels. The engine decides
// when each of them changes; the panel (through the transport) decides how it looks. The panel
// implements this and outlives the engine; tests record the calls.
#pragma once

#include <QByteArray>
#include <QString>

#include "cassette/Capacity.h"
#include "transport/MenuItem.h"

namespace kiv {

class CaptureView {
 public:
  virtual ~CaptureView() = default;

  // "RecM.bmp" back on the record key: a recording that was about to start did not.
  virtual void ShowRecordKeyAtRest() = 0;
  // The tray icon's hint.
  virtual void SetTrayHint(const QString& hint) = 0;
  // The message label `message`: "rec" while recording, "3/7" once the message is on the tape.
  virtual void SetMessageLabel(const QString& text) = 0;
  // The hint of the message label: the time left for recording, empty while a recording runs.
  virtual void SetRemainingTimeHint(const QString& hint) = 0;
  // The ticker shows the custom text again (`ShowCustomText`).
  virtual void ShowCustomText() = 0;
  // The counter `Count`, already formatted: "00:07" while recording, "00:07 / 00:00" after.
  virtual void SetCounterText(const QString& text) = 0;
  // (Re)starts `Timer5`, the tape wheels; every captured buffer calls it.
  virtual void StartWheels() = 0;
  // The waveform display: one captured buffer as the device delivered it, before any rate
  // conversion; the flat line in the playback colour once nothing runs.
  virtual void DrawRecordingTrace(const QByteArray& buffer) = 0;
  virtual void DrawIdleLine() = 0;
  // Switches one of the panel's menu items on or off (the message items around a recording).
  virtual void SetMenuItemEnabled(MenuItem item, bool enabled) = 0;
  // The transport's recording face: control availability of the recording state and "Stop
  // Recording" on the tray menu's `Record1`.
  virtual void ShowRecordingState() = 0;
  // The transport's idle face after a recording (key pictures, "Start Recording", availability,
  // tray icon, wheels stopped), with the message keys as the counts allow.
  virtual void ShowIdleState(bool previousMessageAvailable, bool nextMessageAvailable) = 0;
  // The open cassette had no table left and was replaced by the blank default cassette: every
  // display of the cassette (ticker, label, counter, hint) is out of date.
  virtual void CassetteReplaced() = 0;
  // A running guard found the disk nearly full or the cassette at its capacity. The recording
  // has already been stopped and saved; the panel shows the low-disk text or the limit window.
  virtual void RunningCheckRefused(RunningCheck why) = 0;

  // The setting "AutoRewindOnStop": where the play head waits after a recording.
  virtual bool AutoRewindOnStop() const = 0;

 protected:
  CaptureView() = default;
  CaptureView(const CaptureView&) = delete;
  CaptureView& operator=(const CaptureView&) = delete;
};

}  // namespace kiv
