// What each key does on the panel. The recorder is worked from the keyboard while its window has
// the keyboard; the keys are written in the Windows virtual-key codes, and the panel maps its
// toolkit's keys onto them. Keys that repeat while held (winding, message stepping, volume) act
// on key-down and stop on key-up; every other shortcut acts on key-up. The rows of each table
// are tried in order and every row that matches acts, so one key can do several things.
#pragma once

#include <cstdint>
#include <vector>

#include "transport/TransportState.h"

namespace kiv {

enum class VirtualKey : uint16_t {
  None = 0,
  Back = 0x08,
  Return = 0x0D,
  Escape = 0x1B,
  Prior = 0x21,  // Page Up
  Next = 0x22,   // Page Down
  Left = 0x25,
  Up = 0x26,
  Right = 0x27,
  Down = 0x28,
  Insert = 0x2D,
  Delete = 0x2E,
  E = 'E',
  H = 'H',
  M = 'M',
  P = 'P',
  S = 'S',
  V = 'V',
  X = 'X',
  F1 = 0x70,
  F11 = 0x7A,
  F12 = 0x7B,
};

struct KeyModifiers {
  bool ctrl = false;
  bool alt = false;
  bool shift = false;
  bool Any() const { return ctrl || alt || shift; }
};

enum class KeyAction : uint8_t {
  // held keys: press
  RewindPress,
  ForwardPress,
  PreviousPress,
  NextPress,
  VolumeUpPress,        // on the combined volume key
  VolumeDownPress,      // on the combined volume key
  VolumePlusPress,      // on the separate "+" key
  VolumeMinusPress,     // on the separate "-" key
  // held keys: release
  RewindRelease,
  ForwardRelease,
  PreviousRelease,
  NextRelease,
  VolumeUpRelease,
  VolumeDownRelease,
  VolumePlusRelease,
  VolumeMinusRelease,
  // single strokes
  OpenPositioner,
  Help,
  Play,
  Record,
  Stop,
  Pause,
  HideToTray,
  MessageSelector,
  VolumeControl,
  ShortcutWindow,
  Exit,
  DeleteMessage,  // the current message, or all of them when that item is unavailable
  SettingsMenu,
};

// What the tables' conditions look at besides the key and its modifiers.
struct KeyContext {
  TransportState tape;
  bool volumeKeyVisible = false;  // the combined volume key of some skins
  bool volumePlusVisible = false;
  bool volumeMinusVisible = false;
};

std::vector<KeyAction> KeyDownActions(VirtualKey key, KeyModifiers held, const KeyContext& context);
std::vector<KeyAction> KeyUpActions(VirtualKey key, KeyModifiers held, const KeyContext& context);

}  // namespace kiv
