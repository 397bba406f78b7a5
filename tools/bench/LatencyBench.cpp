// Measures how long the sound takes on the real devices, through the real engines:
//   play start    StartPlayback until the output device reports its first byte played
//   heard         StartPlayback until the first loud byte arrives from the monitor (--monitor)
//   record start  StartRecording until the first captured buffer has been written to the cassette
//   seek restart  RequestRestart until the new segment's device reports its first byte played
//   seek gap      the silence the monitor heard between the old place and the new (--monitor)
//
// The sound server is whatever the environment names; scripts/bench-latency starts a private one
// (scripts/pulse-rig) and passes --monitor kivsink.monitor, the monitor of its null sink. The
// "heard" time includes parecord's own latency, so it is an upper bound. Cassettes are made in a
// fresh folder under $TMPDIR and removed afterwards.
//
// Run: scripts/bench-latency [rounds]
//  or: build/bin/kivrec-bench-latency [--rounds N] [--monitor DEVICE]
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "audio/CaptureEngine.h"
#include "audio/CaptureView.h"
#include "audio/PlaybackEngine.h"
#include "audio/PlaybackView.h"
#include "cassette/Cassette.h"
#include "platform/Dialogs.h"
#include "platform/DeferredSound.h"
#include "platform/QtFreeSpace.h"
#include "platform/SoundModule.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kRate = 11025;
constexpr int kWaitLimitMs = 10000;
// Louder than this distance from the middle line counts as sound, not silence.
constexpr int kLoud = 40;

double MsSince(Clock::time_point since, Clock::time_point until = Clock::now()) {
  return std::chrono::duration<double, std::milli>(until - since).count();
}

// Keeps the event loop turning until `done` holds; false after the limit.
template <typename Done>
bool Spin(Done done, int limitMs = kWaitLimitMs) {
  const auto start = Clock::now();
  while (!done()) {
    if (MsSince(start) > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QThread::usleep(200);
  }
  return true;
}

void SpinFor(int ms) {
  const auto start = Clock::now();
  Spin([&] { return MsSince(start) >= ms; }, ms + 1000);
}

QByteArray Tone(double hz, int samples) {
  QByteArray tone(samples, '\0');
  for (int i = 0; i < samples; ++i) {
    const double phase = 2.0 * std::numbers::pi * hz * i / kRate;
    tone[i] = char(int(std::lround(128.0 + 100.0 * std::sin(phase))));
  }
  return tone;
}

bool IsLoud(char sample) { return std::abs(int(static_cast<unsigned char>(sample)) - 128) > kLoud; }

// The panel, as far as the engines are concerned: a benchmark shows nothing.
class SilentPlaybackView final : public kiv::PlaybackView {
 public:
  void ShowCounter(uint32_t, uint32_t) override {}
  void DrawPlaybackTrace(const QByteArray&) override {}
  void DrawIdleLine() override {}
  void ShowPlayingFace() override {}
  void ShowPausedFace() override {}
  void ShowIdleFace() override {}
  void ApplyAvailability(const kiv::ControlAvailability&) override {}
  void SetAvailability(kiv::PanelControl, kiv::Availability) override {}
  void EnableMessageMenuItems(bool) override {}
  void PauseWheels() override {}
  void ResumeWheels() override {}
  void StopWheels() override {}
  bool AutoRewindOnStop() const override { return true; }
};

class SilentCaptureView final : public kiv::CaptureView {
 public:
  void ShowRecordKeyAtRest() override {}
  void SetTrayHint(const QString&) override {}
  void SetMessageLabel(const QString&) override {}
  void SetRemainingTimeHint(const QString&) override {}
  void ShowCustomText() override {}
  void SetCounterText(const QString&) override {}
  void StartWheels() override {}
  void DrawRecordingTrace(const QByteArray&) override {}
  void DrawIdleLine() override {}
  void SetMenuItemEnabled(kiv::MenuItem, bool) override {}
  void ShowRecordingState() override {}
  void ShowIdleState(bool, bool) override {}
  void CassetteReplaced() override {}
  void RunningCheckRefused(kiv::RunningCheck) override {}
  bool AutoRewindOnStop() const override { return true; }
};

// A box the engines show means the measurement failed; it is printed, never waited on.
class PrintingDialogs final : public kiv::Dialogs {
 public:
  int MessageBox(const QString& text, const QString& caption, int) override {
    std::fprintf(stderr, "box: %s: %s\n", qPrintable(caption), qPrintable(text));
    ++shown;
    return kiv::IDOK;
  }
  void ShowMessage(const QString& text) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
    ++shown;
  }
  int ExecModal(QDialog&) override { return 0; }
  QString GetSaveFileName(const kiv::FileDialogOptions&) override { return {}; }
  QString GetOpenFileName(const kiv::FileDialogOptions&) override { return {}; }
  void SetPanel(QWidget*) override {}

  int shown = 0;
};

// What a monitor device hears, with the time each piece arrived.
class Monitor {
 public:
  explicit Monitor(const QString& device) {
    process_.start(QStringLiteral("parecord"),
                   {QStringLiteral("--device=") + device, QStringLiteral("--raw"),
                    QStringLiteral("--format=u8"), QStringLiteral("--channels=1"),
                    QStringLiteral("--rate=%1").arg(kRate), QStringLiteral("--latency-msec=10")});
    // Taken as it arrives, so each piece is stamped with the moment it came.
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { Take(); });
  }
  ~Monitor() {
    process_.kill();
    process_.waitForFinished(3000);
  }
  Monitor(const Monitor&) = delete;
  Monitor& operator=(const Monitor&) = delete;

  bool WaitRunning() {
    return process_.waitForStarted(kWaitLimitMs) && Spin([this] { return Take() > kRate / 10; });
  }
  // Reads what has arrived; the number of samples heard so far.
  qsizetype Take() {
    const QByteArray more = process_.readAllStandardOutput();
    if (!more.isEmpty()) {
      sound_.append(more);
      arrivals_.emplace_back(sound_.size(), Clock::now());
    }
    return sound_.size();
  }
  // When the first loud sample at or after `from` arrived, if one has.
  std::optional<Clock::time_point> FirstLoudArrival(qsizetype from) {
    Take();
    for (qsizetype i = from; i < sound_.size(); ++i) {
      if (!IsLoud(sound_[i])) continue;
      for (const auto& [end, when] : arrivals_) {
        if (end > i) return when;
      }
    }
    return std::nullopt;
  }
  // The longest run of silence between the first and the last loud sample from `from` on, in
  // milliseconds of sound.
  double LongestSilenceMs(qsizetype from) {
    Take();
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = from; i < sound_.size(); ++i) {
      if (IsLoud(sound_[i])) {
        if (first < 0) first = i;
        last = i;
      }
    }
    qsizetype longest = 0;
    qsizetype run = 0;
    for (qsizetype i = first; first >= 0 && i <= last; ++i) {
      run = IsLoud(sound_[i]) ? 0 : run + 1;
      longest = std::max(longest, run);
    }
    return 1000.0 * double(longest) / kRate;
  }

 private:
  QProcess process_;
  QByteArray sound_;
  std::vector<std::pair<qsizetype, Clock::time_point>> arrivals_;
};

struct Round {
  double playStart = -1;
  double heard = -1;
  double recordStart = -1;
  double seekRestart = -1;
  double seekGap = -1;
};

bool MakeToneCassette(kiv::Cassette& cassette, const std::string& path) {
  // Three seconds at 440 Hz, then three at 880 Hz: the seek jumps from the one to the other.
  const QByteArray sound = Tone(440.0, 3 * kRate) + Tone(880.0, 3 * kRate);
  const bool made =
      cassette.CreateBlankCassette(path).ok() && cassette.BeginRecording().ok() &&
      cassette.WriteSound(reinterpret_cast<const uint8_t*>(sound.constData()), size_t(sound.size()))
          .ok() &&
      cassette.EndRecording(true).ok();
  cassette.CloseStream();
  return made;
}

// Playback start, what the monitor heard of it, and a seek into the second tone.
bool MeasurePlayback(const kiv::CassetteEnvironment& env, const std::string& path,
                     Monitor* monitor, Round* round) {
  kiv::Cassette cassette(env);
  if (!MakeToneCassette(cassette, path)) {
    std::fprintf(stderr, "cannot make the cassette %s\n", path.c_str());
    return false;
  }
  // As the recorder makes it: the sound library is loaded at the first Open, in round 1.
  kiv::DeferredAudioOutput output(kiv::SoundModule::NewAudioOutput);
  PrintingDialogs dialogs;
  SilentPlaybackView view;
  kiv::PlaybackEngine engine(cassette, output, dialogs, view);
  // Connected after the engine, so it runs once the engine has opened the next segment.
  bool segmentReturned = false;
  QObject::connect(&output, &kiv::AudioOutput::BufferDone, [&] { segmentReturned = true; });

  const qsizetype mark = monitor ? monitor->Take() : 0;
  const auto started = Clock::now();
  engine.StartPlayback();
  if (!engine.Playing() || !Spin([&] { return output.Position() > 0; })) return false;
  round->playStart = MsSince(started);

  // Half a second into the first tone, jump to the second.
  if (!Spin([&] { return output.Position() >= kRate / 2; })) return false;
  engine.FoldPosition();
  cassette.Head().SeekTo(3 * kRate);
  const auto seeked = Clock::now();
  engine.RequestRestart();
  if (!Spin([&] { return segmentReturned && output.IsOpen() && output.Position() > 0; })) {
    return false;
  }
  round->seekRestart = MsSince(seeked);

  SpinFor(500);
  engine.StopPlayback();
  if (!Spin([&] { return !engine.Playing(); })) return false;
  if (monitor) {
    SpinFor(200);  // the end of the sound on its way through the monitor
    if (const auto heard = monitor->FirstLoudArrival(mark)) round->heard = MsSince(started, *heard);
    round->seekGap = monitor->LongestSilenceMs(mark);
  }
  return dialogs.shown == 0;
}

bool MeasureRecording(const kiv::CassetteEnvironment& env, const std::string& path,
                      Round* round) {
  kiv::Cassette cassette(env);
  if (!cassette.CreateBlankCassette(path).ok()) return false;
  kiv::DeferredAudioInput input(kiv::SoundModule::NewAudioInput);
  kiv::QtFreeSpace freeSpace;
  PrintingDialogs dialogs;
  SilentCaptureView view;
  kiv::CaptureEngine engine(cassette, input, freeSpace, dialogs, view);

  const auto started = Clock::now();
  if (!engine.StartRecording()) return false;
  const uint64_t start = cassette.WritePosition();
  const bool written = Spin([&] { return cassette.WritePosition() > start; });
  if (written) round->recordStart = MsSince(started);
  engine.StopRecording();
  return written && dialogs.shown == 0;
}

std::string Cell(double ms) {
  char text[32];
  if (ms < 0) return "-";
  std::snprintf(text, sizeof text, "%.1f", ms);
  return text;
}

double Median(std::vector<double> values) {
  values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return v < 0; }),
               values.end());
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

void PrintRow(const std::string& label, const Round& r) {
  std::printf("%-7s %14s %9s %16s %16s %14s\n", label.c_str(), Cell(r.playStart).c_str(),
              Cell(r.heard).c_str(), Cell(r.recordStart).c_str(), Cell(r.seekRestart).c_str(),
              Cell(r.seekGap).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int rounds = 5;
  QString monitorDevice;
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QStringLiteral("--rounds") && i + 1 < args.size()) {
      rounds = std::max(1, args[++i].toInt());
    } else if (args[i] == QStringLiteral("--monitor") && i + 1 < args.size()) {
      monitorDevice = args[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--rounds N] [--monitor DEVICE]\n", argv[0]);
      return 2;
    }
  }
  if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
    std::fprintf(stderr, "PULSE_SERVER is not set: measuring the session's own sound server\n");
  }

  QTemporaryDir folder;
  if (!folder.isValid() || !QDir(folder.path()).mkpath(QStringLiteral("data")) ||
      !QDir(folder.path()).mkpath(QStringLiteral("tmp"))) {
    std::fprintf(stderr, "cannot make a folder under %s\n", qPrintable(QDir::tempPath()));
    return 1;
  }
  const std::string root = folder.path().toStdString();
  const kiv::CassetteEnvironment env{root + "/data/", kiv::SystemLocalTime};

  std::optional<Monitor> monitor;
  if (!monitorDevice.isEmpty()) {
    monitor.emplace(monitorDevice);
    if (!monitor->WaitRunning()) {
      std::fprintf(stderr, "parecord hears nothing from %s\n", qPrintable(monitorDevice));
      return 1;
    }
  }

  std::printf("milliseconds; a captured buffer holds %.1f ms of sound at %u Hz\n",
              1000.0 * kiv::CaptureEngine::kDefaultCaptureBufferSize / kRate, kRate);
  std::printf("%-7s %14s %9s %16s %16s %14s\n", "round", "play start", "heard", "record start",
              "seek restart", "seek gap");
  std::vector<Round> results;
  for (int n = 1; n <= rounds; ++n) {
    Round round;
    if (!MeasurePlayback(env, root + "/data/play.cst", monitor ? &*monitor : nullptr, &round) ||
        !MeasureRecording(env, root + "/data/record.cst", &round)) {
      std::fprintf(stderr, "round %d: the devices did not answer in time\n", n);
      return 1;
    }
    PrintRow(std::to_string(n), round);
    results.push_back(round);
    SpinFor(200);
  }

  auto column = [&](double Round::*field) {
    std::vector<double> values;
    for (const Round& r : results) values.push_back(r.*field);
    return Median(values);
  };
  PrintRow("median", Round{column(&Round::playStart), column(&Round::heard),
                           column(&Round::recordStart), column(&Round::seekRestart),
                           column(&Round::seekGap)});
  return 0;
}
