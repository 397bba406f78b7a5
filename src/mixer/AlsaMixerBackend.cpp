#include "mixer/AlsaMixerBackend.h"

#include <alsa/asoundlib.h>

#include <string>

namespace kiv {
namespace {

bool Stereo(snd_mixer_elem_t* elem, MixerDirection d) {
  return d == MixerDirection::Playback
             ? !snd_mixer_selem_is_playback_mono(elem) &&
                   snd_mixer_selem_has_playback_channel(elem, SND_MIXER_SCHN_FRONT_RIGHT)
             : !snd_mixer_selem_is_capture_mono(elem) &&
                   snd_mixer_selem_has_capture_channel(elem, SND_MIXER_SCHN_FRONT_RIGHT);
}

MixerElement Describe(snd_mixer_elem_t* elem) {
  MixerElement e;
  e.name = snd_mixer_selem_get_name(elem);
  if (const unsigned index = snd_mixer_selem_get_index(elem); index > 0) {
    e.name += ' ' + std::to_string(index);
  }
  e.playbackVolume = snd_mixer_selem_has_playback_volume(elem);
  e.captureVolume = snd_mixer_selem_has_capture_volume(elem);
  e.playbackSwitch = snd_mixer_selem_has_playback_switch(elem);
  e.captureSwitch = snd_mixer_selem_has_capture_switch(elem);
  e.playbackChannels = Stereo(elem, MixerDirection::Playback) ? 2 : 1;
  e.captureChannels = Stereo(elem, MixerDirection::Capture) ? 2 : 1;
  if (e.playbackVolume) snd_mixer_selem_get_playback_volume_range(elem, &e.playbackMin, &e.playbackMax);
  if (e.captureVolume) snd_mixer_selem_get_capture_volume_range(elem, &e.captureMin, &e.captureMax);
  return e;
}

// ALSA writes its own complaints to stderr, for instance when a machine has no "default" control
// device. Having no mixer is an ordinary case here (every call then simply answers false), so
// those lines would only be noise in the user's terminal.
void QuietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

AlsaMixerBackend::AlsaMixerBackend() {
  snd_lib_error_set_handler(&QuietAlsaErrors);
  int card = -1;
  while (snd_card_next(&card) == 0 && card >= 0) cards_.push_back(card);
}

AlsaMixerBackend::~AlsaMixerBackend() { Close(); }

bool AlsaMixerBackend::Open(int id) {
  Close();
  if (id < 0 || id >= DeviceCount()) return false;
  const std::string device = id == 0 ? "default" : "hw:" + std::to_string(cards_[size_t(id - 1)]);
  snd_mixer_t* mixer = nullptr;
  if (snd_mixer_open(&mixer, 0) < 0) return false;
  if (snd_mixer_attach(mixer, device.c_str()) < 0 || snd_mixer_selem_register(mixer, nullptr, nullptr) < 0 ||
      snd_mixer_load(mixer) < 0) {
    snd_mixer_close(mixer);
    return false;
  }
  mixer_ = mixer;
  snd_mixer_set_callback_private(mixer_, this);
  snd_mixer_set_callback(mixer_, &MixerCallback);

  snd_hctl_t* hctl = nullptr;
  snd_ctl_card_info_t* info = nullptr;
  snd_ctl_card_info_alloca(&info);
  productName_ = device;
  if (snd_mixer_get_hctl(mixer_, device.c_str(), &hctl) == 0 &&
      snd_ctl_card_info(snd_hctl_ctl(hctl), info) == 0 && *snd_ctl_card_info_get_name(info)) {
    productName_ = snd_ctl_card_info_get_name(info);
  }

  for (snd_mixer_elem_t* elem = snd_mixer_first_elem(mixer_); elem; elem = snd_mixer_elem_next(elem)) {
    if (!snd_mixer_selem_is_active(elem)) continue;
    MixerElement e = Describe(elem);
    if (!e.playbackVolume && !e.captureVolume && !e.playbackSwitch && !e.captureSwitch) continue;
    e.id = int(elements_.size());
    indexOf_[elem] = elements_.size();
    handles_.push_back(elem);
    elements_.push_back(std::move(e));
    snd_mixer_elem_set_callback_private(elem, this);
    snd_mixer_elem_set_callback(elem, &ElementCallback);
  }
  // The configuration tree is needed only to open a device, and ALSA would keep it cached for the
  // program's whole life; an idle recorder should not carry it.
  snd_config_update_free_global();
  return true;
}

void AlsaMixerBackend::Close() {
  if (mixer_) snd_mixer_close(mixer_);
  mixer_ = nullptr;
  elements_.clear();
  handles_.clear();
  indexOf_.clear();
  pending_.clear();
  productName_.clear();
}

std::string AlsaMixerBackend::DriverVersion() const { return mixer_ ? snd_asoundlib_version() : ""; }

snd_mixer_elem_t* AlsaMixerBackend::Handle(size_t element) const {
  return element < handles_.size() ? handles_[element] : nullptr;
}

bool AlsaMixerBackend::ReadVolume(size_t element, MixerDirection d, long& left, long& right) {
  snd_mixer_elem_t* elem = Handle(element);
  if (!elem) return false;
  const bool playback = d == MixerDirection::Playback;
  auto read = [&](snd_mixer_selem_channel_id_t channel, long& value) {
    return (playback ? snd_mixer_selem_get_playback_volume(elem, channel, &value)
                     : snd_mixer_selem_get_capture_volume(elem, channel, &value)) == 0;
  };
  if (!read(SND_MIXER_SCHN_FRONT_LEFT, left)) return false;
  return !Stereo(elem, d) || read(SND_MIXER_SCHN_FRONT_RIGHT, right);
}

bool AlsaMixerBackend::WriteVolume(size_t element, MixerDirection d, long left, long right) {
  snd_mixer_elem_t* elem = Handle(element);
  if (!elem) return false;
  // Channels beyond the front pair follow the left one.
  if (d == MixerDirection::Playback) {
    if (snd_mixer_selem_set_playback_volume_all(elem, left) < 0) return false;
    return !Stereo(elem, d) || snd_mixer_selem_set_playback_volume(elem, SND_MIXER_SCHN_FRONT_RIGHT, right) == 0;
  }
  if (snd_mixer_selem_set_capture_volume_all(elem, left) < 0) return false;
  return !Stereo(elem, d) || snd_mixer_selem_set_capture_volume(elem, SND_MIXER_SCHN_FRONT_RIGHT, right) == 0;
}

bool AlsaMixerBackend::ReadSwitch(size_t element, MixerDirection d, bool& on) {
  snd_mixer_elem_t* elem = Handle(element);
  int value = 0;
  if (!elem || (d == MixerDirection::Playback
                    ? snd_mixer_selem_get_playback_switch(elem, SND_MIXER_SCHN_FRONT_LEFT, &value)
                    : snd_mixer_selem_get_capture_switch(elem, SND_MIXER_SCHN_FRONT_LEFT, &value)) != 0) {
    return false;
  }
  on = value != 0;
  return true;
}

bool AlsaMixerBackend::WriteSwitch(size_t element, MixerDirection d, bool on) {
  snd_mixer_elem_t* elem = Handle(element);
  // An exclusive capture group lets ALSA turn the other sources off itself.
  return elem && (d == MixerDirection::Playback ? snd_mixer_selem_set_playback_switch_all(elem, on)
                                                : snd_mixer_selem_set_capture_switch_all(elem, on)) == 0;
}

std::vector<int> AlsaMixerBackend::PollDescriptors() const {
  if (!mixer_) return {};
  const int count = snd_mixer_poll_descriptors_count(mixer_);
  if (count <= 0) return {};
  std::vector<pollfd> fds(static_cast<size_t>(count));
  const int filled = snd_mixer_poll_descriptors(mixer_, fds.data(), unsigned(count));
  std::vector<int> result;
  for (int i = 0; i < filled; ++i) result.push_back(fds[size_t(i)].fd);
  return result;
}

std::vector<MixerEvent> AlsaMixerBackend::TakeEvents() {
  if (mixer_) snd_mixer_handle_events(mixer_);
  std::vector<MixerEvent> events;
  events.swap(pending_);
  return events;
}

int AlsaMixerBackend::MixerCallback(snd_mixer_t* mixer, unsigned int mask, snd_mixer_elem_t*) {
  auto* self = static_cast<AlsaMixerBackend*>(snd_mixer_get_callback_private(mixer));
  // A new element is not in the tree until the mixer is opened again; the panel hears of it.
  if (self && (mask & SND_CTL_EVENT_MASK_ADD)) self->pending_.push_back(MixerEvent{true, -1});
  return 0;
}

int AlsaMixerBackend::ElementCallback(snd_mixer_elem_t* elem, unsigned int mask) {
  auto* self = static_cast<AlsaMixerBackend*>(snd_mixer_elem_get_callback_private(elem));
  if (!self) return 0;
  const auto found = self->indexOf_.find(elem);
  if (found == self->indexOf_.end()) return 0;
  const int id = int(found->second);
  if (mask == SND_CTL_EVENT_MASK_REMOVE) {
    self->handles_[found->second] = nullptr;
    self->indexOf_.erase(found);
    self->pending_.push_back(MixerEvent{true, id});
  } else if (mask & (SND_CTL_EVENT_MASK_VALUE | SND_CTL_EVENT_MASK_INFO)) {
    self->pending_.push_back(MixerEvent{false, id});
  }
  return 0;
}

}  // namespace kiv
