// The recorder's sounds, made from numbers. The only one so far is "limit.wav", played when the
// cassette is full: a soft two-note chime going down a major third, E5 then C5, like a doorbell
// heard from the next room. Each note is a sine with a little of its second and third harmonics,
// shaped by a smooth attack, a gentle exponential decay and a smooth release that reaches exact
// silence, so the sound starts and ends without a click.
#pragma once

#include "WavFile.h"

namespace soundgen {

// What makes one note of a chime.
struct ChimeNote {
  double hz = 0;        // fundamental
  double start = 0;     // seconds from the start of the sound
  double length = 0;    // seconds until the note has died away completely
  double level = 0;     // peak of the fundamental, 1 = full scale
};

inline constexpr uint32_t kChimeRate = 22050;

// The sum of `notes` over `seconds`, at kChimeRate.
MonoSound Chime(const ChimeNote* notes, int count, double seconds);

// The cassette-full signal: 0.6 seconds of chime, then silence to kLimitSeconds. Sound players
// tend to stop their device as soon as they have handed it the last sample, dropping what the
// device still holds (Qt's QSoundEffect cuts up to a tenth of a second that way); the silent
// tail is what gets cut, never the chime.
inline constexpr double kLimitSeconds = 0.8;
MonoSound LimitSound();

}  // namespace soundgen
