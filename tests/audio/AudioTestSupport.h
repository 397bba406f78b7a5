// Shared by the audio tests: the front panel as each engine sees it, written down call by call,
// so a test can read back what the engine asked the panel to show and in which order.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/CaptureView.h"
#include "audio/PlaybackView.h"

namespace kiv::test {

using namespace Qt::StringLiterals;

inline std::vector<uint8_t> BytesOf(const QByteArray& array) {
  return std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(array.constData()),
                              reinterpret_cast<const uint8_t*>(array.constData()) + array.size());
}

// Sound in which every stretch of a few bytes occurs once, so bytes taken a little too early or
// too late cannot match by accident.
inline std::vector<uint8_t> Noise(size_t count, uint32_t seed) {
  std::vector<uint8_t> bytes(count);
  uint32_t state = seed * 2654435761u + 1;
  for (uint8_t& b : bytes) {
    state = state * 1664525u + 1013904223u;
    b = uint8_t(state >> 24);
  }
  return bytes;
}

// Only the calls that start with `prefix`, in their order.
inline std::vector<std::string> CallsStartingWith(std::vector<std::string> calls,
                                                  const std::string& prefix) {
  std::erase_if(calls, [&](const std::string& call) { return call.rfind(prefix, 0) != 0; });
  return calls;
}

// The playback engine's panel: a list of calls, plus the state those calls leave behind.
class PlayRecordingView final : public PlaybackView {
 public:
  void ShowCounter(uint32_t length, uint32_t position) override {
    calls.push_back(u"ShowCounter(%1,%2)"_s.arg(length).arg(position).toStdString());
  }
  void DrawPlaybackTrace(const QByteArray& bytes) override {
    calls.push_back("DrawPlaybackTrace(" + std::to_string(bytes.size()) + ")");
    traces.push_back(BytesOf(bytes));
  }
  void DrawIdleLine() override { calls.emplace_back("DrawIdleLine"); }
  void ShowPlayingFace() override { calls.emplace_back("ShowPlayingFace"); }
  void ShowPausedFace() override { calls.emplace_back("ShowPausedFace"); }
  void ShowIdleFace() override { calls.emplace_back("ShowIdleFace"); }
  void ApplyAvailability(const ControlAvailability& all) override {
    calls.emplace_back("ApplyAvailability");
    availability = all;
  }
  void SetAvailability(PanelControl control, Availability value) override {
    calls.push_back(u"SetAvailability(%1,%2)"_s.arg(int(control)).arg(int(value)).toStdString());
  }
  void EnableMessageMenuItems(bool on) override {
    calls.push_back(on ? "EnableMessageMenuItems(true)" : "EnableMessageMenuItems(false)");
  }
  void PauseWheels() override { calls.emplace_back("PauseWheels"); }
  void ResumeWheels() override { calls.emplace_back("ResumeWheels"); }
  void StopWheels() override { calls.emplace_back("StopWheels"); }
  bool AutoRewindOnStop() const override { return autoRewind; }

  bool autoRewind = false;
  std::vector<std::string> calls;
  std::vector<std::vector<uint8_t>> traces;
  ControlAvailability availability;
};

// The capture engine's panel: every call written down as a short line, in order.
class CaptureRecordingView final : public CaptureView {
 public:
  void ShowRecordKeyAtRest() override { calls.append(u"RecordKeyAtRest"_s); }
  void SetTrayHint(const QString& hint) override { calls.append(u"Tray "_s + hint); }
  void SetMessageLabel(const QString& text) override { calls.append(u"Label "_s + text); }
  void SetRemainingTimeHint(const QString& hint) override { calls.append(u"Hint "_s + hint); }
  void ShowCustomText() override { calls.append(u"CustomText"_s); }
  void SetCounterText(const QString& text) override { calls.append(u"Counter "_s + text); }
  void StartWheels() override { calls.append(u"Wheels"_s); }
  void DrawRecordingTrace(const QByteArray& buffer) override {
    calls.append(u"Trace"_s);
    traces.append(buffer);
  }
  void DrawIdleLine() override { calls.append(u"IdleLine"_s); }
  void SetMenuItemEnabled(MenuItem item, bool enabled) override {
    calls.append(u"Menu "_s + QLatin1String(MenuItemName(item)) + (enabled ? u" on"_s : u" off"_s));
  }
  void ShowRecordingState() override { calls.append(u"RecordingState"_s); }
  void ShowIdleState(bool previous, bool next) override {
    calls.append(u"IdleState previous=%1 next=%2"_s.arg(int(previous)).arg(int(next)));
  }
  void CassetteReplaced() override { calls.append(u"CassetteReplaced"_s); }
  void RunningCheckRefused(RunningCheck why) override {
    calls.append(why == RunningCheck::LowDisk ? u"Refused LowDisk"_s : u"Refused CapacityFull"_s);
  }
  bool AutoRewindOnStop() const override { return autoRewind; }

  // The last call that starts with `prefix`, "" when there was none.
  QString Last(const QString& prefix) const {
    for (qsizetype i = calls.size() - 1; i >= 0; --i) {
      if (calls[i].startsWith(prefix)) return calls[i];
    }
    return {};
  }
  // Every call so far, joined by '|'.
  std::string Joined() const { return calls.join(QLatin1Char('|')).toStdString(); }

  QStringList calls;
  QList<QByteArray> traces;
  bool autoRewind = true;
};

}  // namespace kiv::test
