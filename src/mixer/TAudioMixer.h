// The recorder's one mixer: destinations and their connections over a MixerBackend, addressed by
// destination index and connection index (-1 for the destination itself), volumes on the
// 0...65535 scale and -1 for "none" or "leave unchanged". The front panel owns one instance.
//
// Destination 0 is playback and 1 recording. A destination's own line is its main element
// ("Master" or "Capture", else the first element with a volume that way); its connections are
// the other elements with a volume that way. A destination without any other element offers
// itself as connection 0, so that a sound server's plugin, which has only Master and Capture,
// still gives the recording slider the default input. Capture switches of connections serve as
// the input selector.
//
// Change notifications come from the backend's poll descriptors, watched on the thread that
// created the mixer (the user-interface thread) with QSocketNotifier.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "mixer/MixerBackend.h"

class QSocketNotifier;

namespace kiv {

class TAudioMixer : public QObject {
  Q_OBJECT

 public:
  // Opens device 0 at once. A null backend is a system without any mixer.
  explicit TAudioMixer(std::unique_ptr<MixerBackend> backend, QObject* parent = nullptr);
  ~TAudioMixer() override;

  // Reopens on device `id`; an index outside the devices changes nothing.
  void SetMixerId(int id);
  void CloseMixer();
  int MixerId() const { return mixerId_; }
  int NumberOfLine() const;
  QString ProductName() const;
  QString DriverVersion() const;
  // The device's maker as the mixer names it; nothing on this system reports one.
  QString Manufacturer() const { return QStringLiteral("0 = Unknown"); }

  // Connections of destination `destination`; -1 when there is no such destination.
  int ConnectionCount(int destination) const;
  // The line's full name, with the kind of source in brackets where the element's name alone
  // would not show it ("PCM (Wave)"). Empty for a line that does not exist.
  QString LineName(int destination, int connection) const;

  [[nodiscard]] bool GetVolume(int destination, int connection, int& left, int& right, int& mute,
                               bool& stereo, bool& volumeDisabled, bool& muteDisabled,
                               int& muteKind);
  [[nodiscard]] bool SetVolume(int destination, int connection, int left, int right, int mute);
  [[nodiscard]] bool GetMute(int destination, int connection, bool& mute);
  [[nodiscard]] bool SetMute(int destination, int connection, bool mute);
  // There are no meters on this system's mixers: a line that exists reads 0, 0 and false.
  [[nodiscard]] bool GetPeak(int destination, int connection, int& left, int& right);

 Q_SIGNALS:
  void OnLineChange(int mixerH, int id);
  void OnControlChange(int mixerH, int id);

 private:
  struct Line {
    size_t element = 0;
    MixerDirection direction = MixerDirection::Playback;
    bool selectorItem = false;  // its capture switch selects it in the destination
  };
  struct Destination {
    Line line;
    std::vector<Line> connections;
  };

  void BuildTree();
  const Line* FindLine(int destination, int connection) const;
  // The line's mute: kind 1 its own switch, kind 2 its place in the input selector; -1 none.
  void ReadMute(const Line& line, int& mute, int& muteKind);
  void Dispatch();

  std::unique_ptr<MixerBackend> backend_;
  int mixerId_ = -1;
  int handle_ = 0;
  std::array<std::optional<Destination>, 2> destinations_;
  std::vector<QSocketNotifier*> notifiers_;
};

}  // namespace kiv
