#include "mixer/TAudioMixer.h"

#include <QSocketNotifier>

#include "mixer/MixerScale.h"

namespace kiv {
namespace {

bool Contains(const std::string& upper, const char* word) { return upper.find(word) != std::string::npos; }

std::string Upper(std::string text) {
  for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Every handle given out is new, so a late notification of a closed device is told apart.
int nextHandle = 1;

}  // namespace

TAudioMixer::TAudioMixer(std::unique_ptr<MixerBackend> backend, QObject* parent)
    : QObject(parent), backend_(std::move(backend)) {
  SetMixerId(0);
}

TAudioMixer::~TAudioMixer() { CloseMixer(); }

void TAudioMixer::SetMixerId(int id) {
  if (!backend_ || id < 0 || id >= backend_->DeviceCount()) return;
  CloseMixer();
  if (!backend_->Open(id)) return;
  mixerId_ = id;
  handle_ = nextHandle++;
  BuildTree();
  for (int fd : backend_->PollDescriptors()) {
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] { Dispatch(); });
    notifiers_.push_back(notifier);
  }
}

void TAudioMixer::CloseMixer() {
  for (QSocketNotifier* notifier : notifiers_) delete notifier;
  notifiers_.clear();
  destinations_ = {};
  if (mixerId_ >= 0) backend_->Close();
  mixerId_ = -1;
}

int TAudioMixer::NumberOfLine() const {
  return int(destinations_[0].has_value()) + int(destinations_[1].has_value());
}

QString TAudioMixer::ProductName() const {
  return mixerId_ < 0 ? QString() : QString::fromStdString(backend_->ProductName());
}

QString TAudioMixer::DriverVersion() const {
  return mixerId_ < 0 ? QString() : QString::fromStdString(backend_->DriverVersion());
}

void TAudioMixer::BuildTree() {
  const std::vector<MixerElement>& elements = backend_->Elements();
  for (MixerDirection direction : {MixerDirection::Playback, MixerDirection::Capture}) {
    const char* mainName = direction == MixerDirection::Playback ? "Master" : "Capture";
    std::optional<size_t> main;
    std::vector<size_t> withVolume;
    for (size_t i = 0; i < elements.size(); ++i) {
      if (!elements[i].HasVolume(direction)) continue;
      withVolume.push_back(i);
      if (!main && elements[i].name == mainName) main = i;
    }
    if (withVolume.empty()) continue;
    if (!main) main = withVolume.front();
    Destination destination{Line{*main, direction, false}, {}};
    const bool capture = direction == MixerDirection::Capture;
    for (size_t i : withVolume) {
      if (i != *main) destination.connections.push_back(Line{i, direction, capture});
    }
    if (destination.connections.empty()) destination.connections.push_back(destination.line);
    destinations_[capture ? 1 : 0] = std::move(destination);
  }
}

const TAudioMixer::Line* TAudioMixer::FindLine(int destination, int connection) const {
  if (destination < 0 || destination > 1 || !destinations_[size_t(destination)]) return nullptr;
  const Destination& d = *destinations_[size_t(destination)];
  if (connection == -1) return &d.line;
  if (connection < 0 || size_t(connection) >= d.connections.size()) return nullptr;
  return &d.connections[size_t(connection)];
}

int TAudioMixer::ConnectionCount(int destination) const {
  if (destination < 0 || destination > 1 || !destinations_[size_t(destination)]) return -1;
  return int(destinations_[size_t(destination)]->connections.size());
}

QString TAudioMixer::LineName(int destination, int connection) const {
  const Line* line = FindLine(destination, connection);
  if (!line) return QString();
  const std::string& name = backend_->Elements()[line->element].name;
  const std::string upper = Upper(name);
  QString full = QString::fromStdString(name);
  // ALSA's names for the sound the programs play and for the recording input do not say
  // "wave" and "microphone"; the line names do, so callers can look for them.
  if (Contains(upper, "PCM") && !Contains(upper, "WAVE")) return full + QStringLiteral(" (Wave)");
  if (line->direction == MixerDirection::Capture && !Contains(upper, "MIC") &&
      (Contains(upper, "CAPTURE") || Contains(upper, "INPUT") || Contains(upper, "ADC"))) {
    return full + QStringLiteral(" (Microphone)");
  }
  return full;
}

void TAudioMixer::ReadMute(const Line& line, int& mute, int& muteKind) {
  const MixerElement& element = backend_->Elements()[line.element];
  bool on = false;
  if (!element.HasSwitch(line.direction) || !backend_->ReadSwitch(line.element, line.direction, on)) {
    return;
  }
  if (line.selectorItem) {
    muteKind = 2;
    mute = on ? 1 : 0;
  } else {
    muteKind = 1;
    mute = on ? 0 : 1;
  }
}

bool TAudioMixer::GetVolume(int destination, int connection, int& left, int& right, int& mute,
                            bool& stereo, bool& volumeDisabled, bool& muteDisabled,
                            int& muteKind) {
  const Line* line = FindLine(destination, connection);
  if (!line) return false;
  left = right = mute = muteKind = -1;
  stereo = false;
  const MixerElement& element = backend_->Elements()[line->element];
  long rawLeft = 0, rawRight = 0;
  if (element.HasVolume(line->direction) &&
      backend_->ReadVolume(line->element, line->direction, rawLeft, rawRight)) {
    const bool capture = line->direction == MixerDirection::Capture;
    const long min = capture ? element.captureMin : element.playbackMin;
    const long max = capture ? element.captureMax : element.playbackMax;
    left = ScaledVolume(rawLeft, min, max);
    if (element.Channels(line->direction) > 1) {
      right = ScaledVolume(rawRight, min, max);
      stereo = true;
    }
  }
  ReadMute(*line, mute, muteKind);
  volumeDisabled = left == -1;
  muteDisabled = mute == -1;
  return true;
}

bool TAudioMixer::SetVolume(int destination, int connection, int left, int right, int mute) {
  const Line* line = FindLine(destination, connection);
  if (!line) return false;
  const MixerElement& element = backend_->Elements()[line->element];
  if (left != -1 && element.HasVolume(line->direction)) {
    if (right == -1) right = left;
    const bool capture = line->direction == MixerDirection::Capture;
    const long min = capture ? element.captureMin : element.playbackMin;
    const long max = capture ? element.captureMax : element.playbackMax;
    // A failed write shows as the old value at the next read; there is no one to tell here.
    (void)backend_->WriteVolume(line->element, line->direction, RawVolume(left, min, max),
                                RawVolume(right, min, max));
  }
  if (mute != -1) (void)SetMute(destination, connection, mute != 0);
  return true;
}

bool TAudioMixer::GetMute(int destination, int connection, bool& mute) {
  const Line* line = FindLine(destination, connection);
  if (!line) return false;
  int value = -1, kind = -1;
  ReadMute(*line, value, kind);
  if (value == -1) return false;
  mute = value != 0;
  return true;
}

bool TAudioMixer::SetMute(int destination, int connection, bool mute) {
  const Line* line = FindLine(destination, connection);
  if (!line || !backend_->Elements()[line->element].HasSwitch(line->direction)) return false;
  // In the selector a set item records; the line's own switch passes sound when not muted.
  const bool on = line->selectorItem ? mute : !mute;
  return backend_->WriteSwitch(line->element, line->direction, on);
}

bool TAudioMixer::GetPeak(int destination, int connection, int& left, int& right) {
  if (!FindLine(destination, connection)) return false;
  left = right = 0;
  return false;
}

void TAudioMixer::Dispatch() {
  const int handle = handle_;
  for (const MixerEvent& event : backend_->TakeEvents()) {
    if (event.lineChange) {
      Q_EMIT OnLineChange(handle, event.id);
    } else {
      Q_EMIT OnControlChange(handle, event.id);
    }
  }
}

}  // namespace kiv
