// A scripted mixer for tests: elements and their raw values set by the test, changes "made in
// another program" announced through a real pipe, so they reach TAudioMixer through its socket
// notifiers as ALSA's would. Records every write.
#pragma once

#include <map>
#include <utility>

#include "mixer/MixerBackend.h"

namespace kiv {

class FakeMixerBackend final : public MixerBackend {
 public:
  // `devices` = 0 is a system without any mixer.
  explicit FakeMixerBackend(int devices = 1);
  ~FakeMixerBackend() override;

  // An element with its raw values (both channels `volume`, switches on). Returns its index.
  size_t AddElement(MixerElement element, long volume = 0);
  // A playback element "Master" and a capture element "Capture", stereo, 0...`max`.
  void AddSoundServerElements(long max = 65536);
  // Reads of the element fail from now on (or work again).
  void SetUnreadable(size_t element, bool unreadable) { unreadable_[element] = unreadable; }
  // Another program changed the element's volume: the value changes and a notification waits.
  void ChangeFromOutside(size_t element, MixerDirection d, long left, long right);
  std::pair<long, long> Volume(size_t element, MixerDirection d) const;
  bool Switch(size_t element, MixerDirection d) const;
  int Writes() const { return writes_; }
  bool IsOpen() const { return open_; }

  int DeviceCount() const override { return devices_; }
  bool Open(int id) override;
  void Close() override { open_ = false; }
  std::string ProductName() const override { return "Fake Mixer"; }
  std::string DriverVersion() const override { return "1.0"; }
  const std::vector<MixerElement>& Elements() const override;
  bool ReadVolume(size_t element, MixerDirection d, long& left, long& right) override;
  bool WriteVolume(size_t element, MixerDirection d, long left, long right) override;
  bool ReadSwitch(size_t element, MixerDirection d, bool& on) override;
  bool WriteSwitch(size_t element, MixerDirection d, bool on) override;
  std::vector<int> PollDescriptors() const override { return {pipe_[0]}; }
  std::vector<MixerEvent> TakeEvents() override;

 private:
  using Key = std::pair<size_t, MixerDirection>;
  int devices_;
  bool open_ = false;
  int pipe_[2] = {-1, -1};
  std::vector<MixerElement> elements_;
  std::map<Key, std::pair<long, long>> volumes_;
  std::map<Key, bool> switches_;
  std::map<size_t, bool> unreadable_;
  std::vector<MixerEvent> pending_;
  int writes_ = 0;
};

}  // namespace kiv
