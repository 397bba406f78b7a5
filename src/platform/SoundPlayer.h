// Plays a short sound file and gets out of the way: the recorder's one such sound is the signal
// that the cassette is full, played while the limit window comes up. Playing never waits for the
// sound to end and never shows an error; a sound that cannot be played is simply not heard, and
// the caller learns so from the result. One sound at a time: a new one stops the one before.
#pragma once

#include <QString>

namespace kiv {

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;

  // Stops what is still playing, then starts the WAV file at `path` and returns at once. False,
  // and silence, when the file is missing, cannot be read or is not a RIFF/WAVE file.
  virtual bool Play(const QString& path) = 0;

  // Stops what is playing; nothing when nothing is.
  virtual void Stop() = 0;

 protected:
  SoundPlayer() = default;
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;
};

// Whether `path` names a readable file that starts like a WAV file ("RIFF", size, "WAVE"). Only
// the first bytes are read, so it is cheap enough to ask before every sound.
bool IsReadableWavFile(const QString& path);

}  // namespace kiv
