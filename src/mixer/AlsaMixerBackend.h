// The mixer backend on ALSA's simple-mixer API. Device 0 is the "default" control device: on a
// PulseAudio or PipeWire desktop that is the sound server's own plugin (Master follows the
// default output, Capture the default input); on a machine without a sound server it is the
// first card's mixer. Devices 1... are the cards ("hw:N") in ALSA's order. Plain C++.
#pragma once

#include <map>
#include <memory>

#include "mixer/MixerBackend.h"

struct _snd_mixer;
struct _snd_mixer_elem;

namespace kiv {

class AlsaMixerBackend final : public MixerBackend {
 public:
  AlsaMixerBackend();
  ~AlsaMixerBackend() override;

  int DeviceCount() const override { return 1 + int(cards_.size()); }
  bool Open(int id) override;
  void Close() override;
  std::string ProductName() const override { return productName_; }
  std::string DriverVersion() const override;
  const std::vector<MixerElement>& Elements() const override { return elements_; }
  bool ReadVolume(size_t element, MixerDirection d, long& left, long& right) override;
  bool WriteVolume(size_t element, MixerDirection d, long left, long right) override;
  bool ReadSwitch(size_t element, MixerDirection d, bool& on) override;
  bool WriteSwitch(size_t element, MixerDirection d, bool on) override;
  std::vector<int> PollDescriptors() const override;
  std::vector<MixerEvent> TakeEvents() override;

 private:
  static int MixerCallback(_snd_mixer* mixer, unsigned int mask, _snd_mixer_elem* elem);
  static int ElementCallback(_snd_mixer_elem* elem, unsigned int mask);
  // The element still there; null after ALSA removed it.
  _snd_mixer_elem* Handle(size_t element) const;

  std::vector<int> cards_;
  _snd_mixer* mixer_ = nullptr;
  std::string productName_;
  std::vector<MixerElement> elements_;
  std::vector<_snd_mixer_elem*> handles_;
  std::map<_snd_mixer_elem*, size_t> indexOf_;
  std::vector<MixerEvent> pending_;
};

}  // namespace kiv
