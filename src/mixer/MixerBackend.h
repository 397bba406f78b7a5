// The system mixer as TAudioMixer sees it: one device at a time, opened by number, holding a
// flat list of elements that each may have a playback and a capture volume and switch. The
// backend only reads and writes raw element values; the destination/connection tree, the
// 0...65535 scale and the mute rules are TAudioMixer's. Plain C++, so the ALSA backend and the
// scripted one for tests share no toolkit.
#pragma once

#include <string>
#include <vector>

namespace kiv {

enum class MixerDirection { Playback, Capture };

// One element of the open device. `id` is what change notifications name it by.
struct MixerElement {
  std::string name;
  int id = 0;
  bool playbackVolume = false;
  bool captureVolume = false;
  bool playbackSwitch = false;
  bool captureSwitch = false;
  int playbackChannels = 0;  // 1 mono, 2 or more stereo
  int captureChannels = 0;
  long playbackMin = 0, playbackMax = 0;
  long captureMin = 0, captureMax = 0;

  bool HasVolume(MixerDirection d) const {
    return d == MixerDirection::Playback ? playbackVolume : captureVolume;
  }
  bool HasSwitch(MixerDirection d) const {
    return d == MixerDirection::Playback ? playbackSwitch : captureSwitch;
  }
  int Channels(MixerDirection d) const {
    return d == MixerDirection::Playback ? playbackChannels : captureChannels;
  }
};

// What a notification reported: an element's value changed, or elements came or went.
struct MixerEvent {
  bool lineChange = false;
  int id = 0;
};

class MixerBackend {
 public:
  virtual ~MixerBackend() = default;

  virtual int DeviceCount() const = 0;
  // Opens device `id` and lists its elements. False leaves nothing open.
  virtual bool Open(int id) = 0;
  virtual void Close() = 0;
  virtual std::string ProductName() const = 0;
  virtual std::string DriverVersion() const = 0;
  // The open device's elements; empty when none is open. Indexes stay valid until Close.
  virtual const std::vector<MixerElement>& Elements() const = 0;

  // Raw values of the first two channels (`right` only for stereo elements). False when the
  // element cannot be read now.
  virtual bool ReadVolume(size_t element, MixerDirection d, long& left, long& right) = 0;
  virtual bool WriteVolume(size_t element, MixerDirection d, long left, long right) = 0;
  // A switch is on when the sound passes (not muted; for capture, the source records).
  virtual bool ReadSwitch(size_t element, MixerDirection d, bool& on) = 0;
  virtual bool WriteSwitch(size_t element, MixerDirection d, bool on) = 0;

  // Descriptors that become readable when something changed; TakeEvents then says what.
  virtual std::vector<int> PollDescriptors() const = 0;
  virtual std::vector<MixerEvent> TakeEvents() = 0;

 protected:
  MixerBackend() = default;
  MixerBackend(const MixerBackend&) = delete;
  MixerBackend& operator=(const MixerBackend&) = delete;
};

}  // namespace kiv
