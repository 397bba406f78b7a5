// The chime synthesis.
#include "Chime.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace soundgen {
namespace {

constexpr double kAttack = 0.012;   // seconds from silence to the note's peak
constexpr double kDecay = 0.18;     // seconds for the note to fall to 1/e of its peak
constexpr double kRelease = 0.06;   // seconds of the final fade to silence
constexpr double kSecond = 0.25;    // level of the second harmonic against the fundamental
constexpr double kThird = 0.08;     // ... and of the third

// Half a cosine from 0 to 1 as `x` goes from 0 to 1: no corner at either end, so no click.
double SmoothStep(double x) {
  x = std::clamp(x, 0.0, 1.0);
  return 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

// The loudness of a note `t` seconds after it began.
double Envelope(const ChimeNote& note, double t) {
  if (t < 0 || t >= note.length) return 0;
  const double attack = SmoothStep(t / kAttack);
  const double decay = std::exp(-std::max(0.0, t - kAttack) / kDecay);
  const double release = SmoothStep((note.length - t) / kRelease);
  return note.level * attack * decay * release;
}

double Tone(double hz, double t) {
  const double phase = 2 * std::numbers::pi * hz * t;
  return std::sin(phase) + kSecond * std::sin(2 * phase) + kThird * std::sin(3 * phase);
}

}  // namespace

MonoSound Chime(const ChimeNote* notes, int count, double seconds) {
  MonoSound sound;
  sound.rate = kChimeRate;
  const auto total = size_t(std::lround(seconds * kChimeRate));
  sound.samples.resize(total);
  for (size_t i = 0; i < total; ++i) {
    const double t = double(i) / kChimeRate;
    double value = 0;
    for (int n = 0; n < count; ++n) {
      const double since = t - notes[n].start;
      value += Envelope(notes[n], since) * Tone(notes[n].hz, since);
    }
    sound.samples[i] = int16_t(std::clamp(std::lround(value * 32767.0), -32767L, 32767L));
  }
  return sound;
}

MonoSound LimitSound() {
  // The second note comes in while the first still rings, as on a real chime, and outlasts it.
  static constexpr ChimeNote kNotes[] = {
      {659.255, 0.00, 0.36, 0.40},  // E5
      {523.251, 0.20, 0.40, 0.40},  // C5, silent from 0.60 s on
  };
  return Chime(kNotes, 2, kLimitSeconds);
}

}  // namespace soundgen
