// The mixer tree over a scripted backend: the scale, the lines it offers, mute and selector,
// a system without any mixer, and notifications arriving through the socket notifiers.
#include <gtest/gtest.h>

#include <QTest>

#include "mixer/MixerScale.h"
#include "mixer/TAudioMixer.h"
#include "mixer/fake/FakeMixerBackend.h"

namespace kiv {
namespace {

using D = MixerDirection;

TEST(MixerScaleTest, ARoundTripLosesAtMostOneStepOfTheElement) {
  for (auto [min, max] : {std::pair{0L, 31L}, {-6400L, 0L}, {0L, 65536L}, {0L, 100000L}, {3L, 3L}}) {
    const long span = max - min;
    for (long raw = min; raw <= max; raw += 1 + span / 5000) {
      // Exact while the scale is finer than the element; otherwise the nearest step.
      EXPECT_LE(std::abs(RawVolume(ScaledVolume(raw, min, max), min, max) - raw),
                span <= kMixerFullScale ? 0 : 1) << min << ".." << max;
    }
    const long step = span > 0 ? (kMixerFullScale + span - 1) / span : kMixerFullScale;
    for (int scaled = 0; scaled <= kMixerFullScale; scaled += 97) {
      EXPECT_LE(std::abs(ScaledVolume(RawVolume(scaled, min, max), min, max) - scaled), step);
    }
    EXPECT_EQ(ScaledVolume(max, min, max), span > 0 ? kMixerFullScale : 0);
    EXPECT_EQ(RawVolume(kMixerFullScale + 1, min, max), max);
  }
}

struct CardMixer {
  CardMixer() {
    auto owned = std::make_unique<FakeMixerBackend>();
    backend = owned.get();
    master = backend->AddElement({.name = "Master", .playbackVolume = true, .playbackSwitch = true,
                                  .playbackChannels = 2, .playbackMax = 87}, 87);
    pcm = backend->AddElement({.name = "PCM", .playbackVolume = true, .playbackChannels = 1,
                               .playbackMin = -31, .playbackMax = 0}, -31);
    capture = backend->AddElement({.name = "Capture", .captureVolume = true, .captureSwitch = true,
                                   .captureChannels = 2, .captureMax = 63}, 0);
    mic = backend->AddElement({.name = "Front Mic", .captureVolume = true, .captureSwitch = true,
                               .captureChannels = 2, .captureMax = 31}, 31);
    mixer = std::make_unique<TAudioMixer>(std::move(owned));
  }
  FakeMixerBackend* backend;
  size_t master, pcm, capture, mic;
  std::unique_ptr<TAudioMixer> mixer;
};

TEST(TAudioMixerTest, OffersMainElementsAsDestinationsAndTheOthersAsNamedConnections) {
  CardMixer card;
  TAudioMixer& m = *card.mixer;
  EXPECT_EQ(m.NumberOfLine(), 2);
  EXPECT_EQ(m.ConnectionCount(0), 1);
  EXPECT_EQ(m.LineName(0, 0), QStringLiteral("PCM (Wave)"));
  EXPECT_EQ(m.LineName(1, 0), QStringLiteral("Front Mic"));
  EXPECT_EQ(m.LineName(1, -1), QStringLiteral("Capture (Microphone)"));

  int left, right, mute, kind;
  bool stereo, volumeOff, muteOff;
  ASSERT_TRUE(m.GetVolume(0, -1, left, right, mute, stereo, volumeOff, muteOff, kind));
  EXPECT_EQ(std::tuple(left, right, mute, kind, stereo), std::tuple(65535, 65535, 0, 1, true));
  // A mono line without a switch: Right stays -1, and there is no mute of any kind.
  ASSERT_TRUE(m.GetVolume(0, 0, left, right, mute, stereo, volumeOff, muteOff, kind));
  EXPECT_EQ(std::tuple(left, right, mute, kind, stereo, muteOff), std::tuple(0, -1, -1, -1, false, true));
  // A recording source's switch is its place in the input selector: set means it records.
  ASSERT_TRUE(m.GetVolume(1, 0, left, right, mute, stereo, volumeOff, muteOff, kind));
  EXPECT_EQ(std::tuple(left, mute, kind), std::tuple(65535, 1, 2));
  ASSERT_TRUE(m.SetMute(1, 0, false));
  EXPECT_FALSE(card.backend->Switch(card.mic, D::Capture));
  ASSERT_TRUE(m.SetMute(0, -1, true));
  EXPECT_FALSE(card.backend->Switch(card.master, D::Playback));

  ASSERT_TRUE(m.SetVolume(1, -1, 32768, -1, -1));
  EXPECT_EQ(card.backend->Volume(card.capture, D::Capture), std::pair(32L, 32L));
  ASSERT_TRUE(m.SetVolume(0, -1, 0, 65535, -1));
  EXPECT_EQ(card.backend->Volume(card.master, D::Playback), std::pair(0L, 87L));
  const int writes = card.backend->Writes();
  EXPECT_TRUE(m.SetVolume(0, -1, -1, -1, -1));
  EXPECT_FALSE(m.SetVolume(0, 1, 100, 100, 1));
  EXPECT_FALSE(m.SetVolume(2, -1, 100, 100, 1));
  EXPECT_EQ(card.backend->Writes(), writes);
}

TEST(TAudioMixerTest, WithoutAnyMixerEveryOperationFailsAndWritesNothing) {
  auto none = std::make_unique<TAudioMixer>(std::make_unique<FakeMixerBackend>(0));
  TAudioMixer nothing(nullptr);
  CardMixer card;
  card.mixer->CloseMixer();
  for (TAudioMixer* m : {none.get(), &nothing, card.mixer.get()}) {
    m->SetMixerId(1);
    EXPECT_EQ(m->MixerId(), -1);
    EXPECT_EQ(m->NumberOfLine(), 0);
    int left = 7, right = 7, mute = 7, kind = 7;
    bool stereo = true, volumeOff = false, muteOff = false, muted = true;
    EXPECT_FALSE(m->GetVolume(0, -1, left, right, mute, stereo, volumeOff, muteOff, kind));
    EXPECT_FALSE(m->SetVolume(0, -1, 100, -1, 1));
    EXPECT_FALSE(m->GetMute(1, 0, muted));
    EXPECT_FALSE(m->SetMute(1, 0, true));
    EXPECT_FALSE(m->GetPeak(0, -1, left, right));
    EXPECT_EQ(std::tuple(left, right, mute, kind, stereo, volumeOff, muteOff, muted),
              std::tuple(7, 7, 7, 7, true, false, false, true));
  }
  EXPECT_EQ(card.backend->Writes(), 0);
  card.mixer->SetMixerId(0);
  EXPECT_EQ(card.mixer->NumberOfLine(), 2);
}

TEST(TAudioMixerTest, ASoundServerMixerOffersItsOwnLinesAsConnectionZero) {
  auto owned = std::make_unique<FakeMixerBackend>();
  owned->AddSoundServerElements();
  FakeMixerBackend& backend = *owned;
  TAudioMixer m(std::move(owned));
  EXPECT_EQ(m.LineName(1, 0), QStringLiteral("Capture (Microphone)"));
  ASSERT_TRUE(m.SetVolume(1, 0, 65535, -1, -1));
  EXPECT_EQ(backend.Volume(1, D::Capture), std::pair(65536L, 65536L));
  bool muted = true;
  ASSERT_TRUE(m.GetMute(1, 0, muted));
  EXPECT_FALSE(muted);
}

TEST(TAudioMixerTest, ChangesMadeElsewhereArriveAsControlChangesUntilClosed) {
  CardMixer card;
  std::vector<std::pair<int, int>> heard;
  QObject::connect(card.mixer.get(), &TAudioMixer::OnControlChange,
                   [&heard](int handle, int id) { heard.emplace_back(handle, id); });
  card.backend->ChangeFromOutside(card.pcm, D::Playback, -10, -10);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !heard.empty(); }, 2000));
  EXPECT_NE(heard[0].first, 0);
  EXPECT_EQ(heard[0].second, int(card.pcm));
  card.mixer->CloseMixer();
  card.backend->ChangeFromOutside(card.pcm, D::Playback, -5, -5);
  QTest::qWait(50);
  EXPECT_EQ(heard.size(), 1u);
}

}  // namespace
}  // namespace kiv
