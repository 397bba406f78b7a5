#include "mixer/fake/FakeMixerBackend.h"

#include <fcntl.h>
#include <unistd.h>

namespace kiv {
namespace {
const std::vector<MixerElement> kNone;
}

FakeMixerBackend::FakeMixerBackend(int devices) : devices_(devices) {
  if (::pipe(pipe_) == 0) ::fcntl(pipe_[0], F_SETFL, O_NONBLOCK);
}

FakeMixerBackend::~FakeMixerBackend() {
  for (int fd : pipe_) {
    if (fd >= 0) ::close(fd);
  }
}

size_t FakeMixerBackend::AddElement(MixerElement element, long volume) {
  const size_t index = elements_.size();
  element.id = int(index);
  for (MixerDirection d : {MixerDirection::Playback, MixerDirection::Capture}) {
    volumes_[{index, d}] = {volume, volume};
    switches_[{index, d}] = true;
  }
  elements_.push_back(std::move(element));
  return index;
}

void FakeMixerBackend::AddSoundServerElements(long max) {
  MixerElement master{.name = "Master", .playbackVolume = true, .playbackSwitch = true,
                      .playbackChannels = 2, .playbackMax = max};
  MixerElement capture{.name = "Capture", .captureVolume = true, .captureSwitch = true,
                       .captureChannels = 2, .captureMax = max};
  AddElement(master, max / 2);
  AddElement(capture, max / 2);
}

void FakeMixerBackend::ChangeFromOutside(size_t element, MixerDirection d, long left, long right) {
  volumes_[{element, d}] = {left, right};
  pending_.push_back(MixerEvent{false, int(element)});
  const char byte = 1;
  (void)!::write(pipe_[1], &byte, 1);
}

std::pair<long, long> FakeMixerBackend::Volume(size_t element, MixerDirection d) const {
  return volumes_.at({element, d});
}

bool FakeMixerBackend::Switch(size_t element, MixerDirection d) const {
  return switches_.at({element, d});
}

bool FakeMixerBackend::Open(int id) {
  open_ = id >= 0 && id < devices_;
  return open_;
}

const std::vector<MixerElement>& FakeMixerBackend::Elements() const { return open_ ? elements_ : kNone; }

bool FakeMixerBackend::ReadVolume(size_t element, MixerDirection d, long& left, long& right) {
  if (!open_ || unreadable_[element]) return false;
  std::tie(left, right) = volumes_.at({element, d});
  return true;
}

bool FakeMixerBackend::WriteVolume(size_t element, MixerDirection d, long left, long right) {
  if (!open_) return false;
  ++writes_;
  volumes_[{element, d}] = {left, right};
  return true;
}

bool FakeMixerBackend::ReadSwitch(size_t element, MixerDirection d, bool& on) {
  if (!open_ || unreadable_[element]) return false;
  on = switches_.at({element, d});
  return true;
}

bool FakeMixerBackend::WriteSwitch(size_t element, MixerDirection d, bool on) {
  if (!open_) return false;
  ++writes_;
  switches_[{element, d}] = on;
  return true;
}

std::vector<MixerEvent> FakeMixerBackend::TakeEvents() {
  char drain[64];
  while (::read(pipe_[0], drain, sizeof drain) > 0) {
  }
  std::vector<MixerEvent> events;
  events.swap(pending_);
  return events;
}

}  // namespace kiv
