// Shared by the tests that play and record real sound on the private PulseAudio server of
// scripts/pulse-rig (null sink `kivsink`, whose monitor hears everything played; input `kivmic`,
// a 440 Hz sine): whether that server is there, a tone to play, what was heard (zero crossings,
// frequency, the loud stretch), and a recording of the sink made by a program of its own, so
// the code under test never judges itself.
#pragma once

#include <QByteArray>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QtGlobal>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>

namespace kiv::rig {

inline constexpr uint32_t kRate = 11025;
// Every wait on a real device has this bound; a healthy rig answers in a fraction of it.
inline constexpr int kDeviceWaitMs = 10000;

// Empty when the rig's server is there at PULSE_SERVER; otherwise why the test cannot run.
inline std::string RigUnavailableReason() {
  const QByteArray server = qgetenv("PULSE_SERVER");
  if (server.isEmpty()) return "needs PULSE_SERVER: the private server of scripts/pulse-rig";
  // A server left over from an earlier run is gone with its socket; Qt would only report "no
  // device" then, which says nothing about the code under test.
  if (server.startsWith("unix:") && !QFileInfo::exists(QString::fromLocal8Bit(server.mid(5)))) {
    return "no PulseAudio server at PULSE_SERVER=" + server.toStdString() +
           "; start one with scripts/pulse-rig";
  }
  return {};
}

// A sine of `hz` as unsigned 8-bit samples around 128.
inline QByteArray Tone(double hz, int samples, uint32_t rate = kRate) {
  QByteArray tone(samples, '\0');
  for (int i = 0; i < samples; ++i) {
    const double phase = 2.0 * std::numbers::pi * hz * i / rate;
    tone[i] = static_cast<char>(static_cast<int>(std::lround(128.0 + 100.0 * std::sin(phase))));
  }
  return tone;
}

// From the upward crossings of the middle line, with a little hysteresis so that quantisation
// noise near 128 does not count twice.
inline double Frequency(const QByteArray& sound, uint32_t rate = kRate) {
  if (sound.isEmpty()) return 0.0;
  int crossings = 0;
  bool below = true;
  for (const char c : sound) {
    const int sample = static_cast<unsigned char>(c);
    if (below && sample > 136) {
      ++crossings;
      below = false;
    } else if (!below && sample < 120) {
      below = true;
    }
  }
  return crossings * static_cast<double>(rate) / static_cast<double>(sound.size());
}

// The stretch of `sound` that is louder than silence: from the first to the last sample further
// than `threshold` from the middle line.
inline QByteArray Loud(const QByteArray& sound, int threshold = 40) {
  qsizetype first = -1;
  qsizetype last = -1;
  for (qsizetype i = 0; i < sound.size(); ++i) {
    if (std::abs(static_cast<unsigned char>(sound[i]) - 128) > threshold) {
      if (first < 0) first = i;
      last = i;
    }
  }
  return first < 0 ? QByteArray() : sound.mid(first, last - first + 1);
}

// Records what the null sink plays, independent of the code under test: parecord on the sink's
// monitor, which Qt does not offer as an input device.
class MonitorRecording {
 public:
  MonitorRecording() {
    process_.start(QStringLiteral("parecord"),
                   {QStringLiteral("--device=kivsink.monitor"), QStringLiteral("--raw"),
                    QStringLiteral("--format=u8"), QStringLiteral("--channels=1"),
                    QStringLiteral("--rate=11025"), QStringLiteral("--latency-msec=20")});
  }
  ~MonitorRecording() {
    process_.kill();
    process_.waitForFinished(3000);
  }

  // True once the recording has begun to flow.
  bool WaitRunning() {
    return process_.waitForStarted(kDeviceWaitMs) &&
           QTest::qWaitFor([this] { return Sound().size() > 1000; }, kDeviceWaitMs);
  }
  const QByteArray& Sound() {
    sound_.append(process_.readAllStandardOutput());
    return sound_;
  }

 private:
  QProcess process_;
  QByteArray sound_;
};

}  // namespace kiv::rig
