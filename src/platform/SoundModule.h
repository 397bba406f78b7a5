// The real sound devices as the running recorder gets them: from kivqtsound, the library beside
// the program that holds the Qt Multimedia devices. Linking Qt Multimedia and the sound server's
// client into the program itself costs every start about 3 MiB of memory for sound that may
// never be used, so the library is loaded at the first sound instead, and stays loaded.
//
// Each function returns a new device, or null when the library cannot be loaded or lacks the
// device; the caller treats that as a machine without that device.
#pragma once

#include <memory>

#include "platform/AudioDevices.h"
#include "platform/SoundPlayer.h"

namespace kiv {
namespace SoundModule {

std::unique_ptr<AudioOutput> NewAudioOutput();
std::unique_ptr<AudioInput> NewAudioInput();
std::unique_ptr<SoundPlayer> NewSoundPlayer();

}  // namespace SoundModule
}  // namespace kiv
