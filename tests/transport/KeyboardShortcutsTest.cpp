#include <gtest/gtest.h>

#include "transport/KeyboardShortcuts.h"

namespace kiv {
namespace {

using A = KeyAction;
using K = VirtualKey;
using Actions = std::vector<KeyAction>;

constexpr KeyModifiers kNone{};
constexpr KeyModifiers kCtrl{true, false, false};
constexpr KeyModifiers kAlt{false, true, false};
constexpr KeyModifiers kCtrlAlt{true, true, false};
constexpr KeyModifiers kShift{false, false, true};

KeyContext In(TapeMode mode, bool conversion = false) {
  KeyContext context;
  context.tape.mode = mode;
  context.tape.conversionBusy = conversion;
  return context;
}

TEST(KeyboardShortcuts, HeldKeysActOnDownAndLetGoOnUp) {
  const KeyContext idle = In(TapeMode::Idle);
  EXPECT_EQ(KeyDownActions(K::Right, kNone, idle), Actions{A::ForwardPress});
  EXPECT_EQ(KeyUpActions(K::Right, kNone, idle), Actions{A::ForwardRelease});
  // Page Down is the previous message, Page Up the next one.
  EXPECT_EQ(KeyDownActions(K::Next, kNone, idle), Actions{A::PreviousPress});
  EXPECT_EQ(KeyUpActions(K::Prior, kNone, idle), Actions{A::NextRelease});
  // With Ctrl the arrows open the positioner instead of winding, on key-down only.
  EXPECT_EQ(KeyDownActions(K::Left, kCtrl, idle), Actions{A::OpenPositioner});
  EXPECT_EQ(KeyDownActions(K::Right, kCtrlAlt, idle), Actions{A::OpenPositioner});
  EXPECT_TRUE(KeyUpActions(K::Left, kCtrl, idle).empty());
  EXPECT_EQ(KeyUpActions(K::E, kAlt, idle), Actions{A::OpenPositioner});
  // Single strokes act on key-up only.
  EXPECT_TRUE(KeyDownActions(K::Return, kNone, idle).empty());
  EXPECT_TRUE(KeyDownActions(K::F12, kNone, idle).empty());
}

TEST(KeyboardShortcuts, VolumeRowsFollowTheSkinsKeysInTableOrder) {
  KeyContext both = In(TapeMode::Idle);
  both.volumeKeyVisible = true;
  both.volumePlusVisible = true;
  both.volumeMinusVisible = true;
  EXPECT_EQ(KeyDownActions(K::Up, kNone, both), (Actions{A::VolumeUpPress, A::VolumePlusPress}));
  EXPECT_EQ(KeyUpActions(K::Down, kNone, both), (Actions{A::VolumeDownRelease, A::VolumeMinusRelease}));
  KeyContext separate = In(TapeMode::Recording);
  separate.volumeMinusVisible = true;
  EXPECT_EQ(KeyDownActions(K::Down, kNone, separate), Actions{A::VolumeMinusPress});
  EXPECT_TRUE(KeyDownActions(K::Up, kNone, separate).empty());
}

TEST(KeyboardShortcuts, TapeStateAndModifiersGateTheStrokes) {
  const KeyContext idle = In(TapeMode::Idle);
  const KeyContext playing = In(TapeMode::PlayPaused);
  const KeyContext recording = In(TapeMode::RecordPaused);
  EXPECT_EQ(KeyUpActions(K::Return, kNone, playing), Actions{A::Play});
  EXPECT_TRUE(KeyUpActions(K::Return, kShift, idle).empty());
  EXPECT_EQ(KeyUpActions(K::Insert, kNone, recording), Actions{A::Record});
  EXPECT_TRUE(KeyUpActions(K::Insert, kNone, playing).empty());
  EXPECT_TRUE(KeyUpActions(K::Insert, kCtrl, idle).empty());
  EXPECT_EQ(KeyUpActions(K::Back, kNone, recording), Actions{A::Stop});
  EXPECT_EQ(KeyUpActions(K::Back, kNone, playing), Actions{A::Stop});
  EXPECT_TRUE(KeyUpActions(K::Back, kNone, idle).empty());
  EXPECT_EQ(KeyUpActions(K::P, kAlt, recording), Actions{A::Pause});
  EXPECT_TRUE(KeyUpActions(K::P, kCtrlAlt, recording).empty());
  EXPECT_EQ(KeyUpActions(K::Delete, kNone, idle), Actions{A::DeleteMessage});
  EXPECT_TRUE(KeyUpActions(K::Delete, kNone, playing).empty());
  EXPECT_TRUE(KeyUpActions(K::Delete, kNone, recording).empty());
  EXPECT_EQ(KeyUpActions(K::S, kAlt, playing), Actions{A::SettingsMenu});
  EXPECT_TRUE(KeyUpActions(K::S, kAlt, In(TapeMode::Idle, true)).empty());
  EXPECT_TRUE(KeyUpActions(K::S, kNone, idle).empty());
  for (K help : {K::F1, K::F11}) EXPECT_EQ(KeyUpActions(help, kCtrl, recording), Actions{A::Help});
  EXPECT_EQ(KeyUpActions(K::H, kAlt, idle), Actions{A::Help});
  EXPECT_EQ(KeyUpActions(K::M, kAlt, idle), Actions{A::MessageSelector});
  EXPECT_EQ(KeyUpActions(K::V, kAlt, recording), Actions{A::VolumeControl});
  EXPECT_EQ(KeyUpActions(K::X, kAlt, playing), Actions{A::Exit});
  EXPECT_EQ(KeyUpActions(K::Escape, kNone, recording), Actions{A::HideToTray});
  EXPECT_TRUE(KeyUpActions(K::None, kNone, idle).empty());
}

}  // namespace
}  // namespace kiv
