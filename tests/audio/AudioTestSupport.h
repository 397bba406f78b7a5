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
  void ShowCounter(uint32_t lengthSeconds, uint32_t positionSeconds) override {
    calls.push_back("ShowCounter(" + std::to_string(lengthSeconds) + "," +
                    std::to_string(positionSeconds) + ")");
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
    calls.push_back("SetAvailability(" + std::to_string(int(control)) + "," +
                    std::to_string(int(value)) + ")");
  }
  void EnableMessageMenuItems(bool enabled) override {
    calls.push_back(enabled ? "EnableMessageMenuItems(true)" : "EnableMessageMenuItems(false)");
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
  void ShowRecordKeyAtRest() override { calls.append(QStringLiteral("RecordKeyAtRest")); }
  void SetTrayHint(const QString& hint) override { calls.append(QStringLiteral("Tray ") + hint); }
  void SetMessageLabel(const QString& text) override {
    calls.append(QStringLiteral("Label ") + text);
  }
  void SetRemainingTimeHint(const QString& hint) override {
    calls.append(QStringLiteral("Hint ") + hint);
  }
  void ShowCustomText() override { calls.append(QStringLiteral("CustomText")); }
  void SetCounterText(const QString& text) override {
    calls.append(QStringLiteral("Counter ") + text);
  }
  void StartWheels() override { calls.append(QStringLiteral("Wheels")); }
  void DrawRecordingTrace(const QByteArray& buffer) override {
    calls.append(QStringLiteral("Trace"));
    traces.append(buffer);
  }
  void DrawIdleLine() override { calls.append(QStringLiteral("IdleLine")); }
  void SetMenuItemEnabled(MenuItem item, bool enabled) override {
    const QString state = enabled ? QStringLiteral(" on") : QStringLiteral(" off");
    calls.append(QStringLiteral("Menu ") + QString::fromLatin1(MenuItemName(item)) + state);
  }
  void ShowRecordingState() override { calls.append(QStringLiteral("RecordingState")); }
  void ShowIdleState(bool previous, bool next) override {
    calls.append(QStringLiteral("IdleState previous=%1 next=%2").arg(int(previous)).arg(int(next)));
  }
  void CassetteReplaced() override { calls.append(QStringLiteral("CassetteReplaced")); }
  void RunningCheckRefused(RunningCheck why) override {
    calls.append(why == RunningCheck::LowDisk ? QStringLiteral("Refused LowDisk")
                                              : QStringLiteral("Refused CapacityFull"));
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
