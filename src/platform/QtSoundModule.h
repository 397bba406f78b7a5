// The entry points of kivqtsound, the library of the Qt Multimedia sound devices
// (QtAudioOutput, QtAudioInput, QtSoundPlayer). SoundModule loads the library at the first sound
// and finds these by name; each makes a new device that the caller owns.
#pragma once

namespace kiv {

class AudioInput;
class AudioOutput;
class SoundPlayer;

inline constexpr char kNewAudioOutput[] = "kivNewAudioOutput";
inline constexpr char kNewAudioInput[] = "kivNewAudioInput";
inline constexpr char kNewSoundPlayer[] = "kivNewSoundPlayer";

}  // namespace kiv
