// The two key tables. A row names its key, the condition under which it applies, and what it does.
#include "transport/KeyboardShortcuts.h"

#include <cstddef>


namespace kiv {
namespace {

using Condition = bool (*)(KeyModifiers, const KeyContext&);

struct KeyRow {
  VirtualKey key;
  Condition applies;
  KeyAction action;
};

bool Always(KeyModifiers, const KeyContext&) { return true; }
bool NoCtrl(KeyModifiers held, const KeyContext&) { return !held.ctrl; }
bool Ctrl(KeyModifiers held, const KeyContext&) { return held.ctrl; }
bool Alt(KeyModifiers held, const KeyContext&) { return held.alt; }
bool NoModifier(KeyModifiers held, const KeyContext&) { return !held.Any(); }
bool VolumeKey(KeyModifiers, const KeyContext& c) { return c.volumeKeyVisible; }
bool VolumePlus(KeyModifiers, const KeyContext& c) { return c.volumePlusVisible; }
bool VolumeMinus(KeyModifiers, const KeyContext& c) { return c.volumeMinusVisible; }
bool NoModifierNotPlaying(KeyModifiers held, const KeyContext& c) {
  return !held.Any() && !c.tape.Playing();
}
bool NoModifierTapeRunning(KeyModifiers held, const KeyContext& c) {
  return !held.Any() && (c.tape.Playing() || c.tape.Recording());
}
bool AltOnly(KeyModifiers held, const KeyContext&) { return held.alt && !held.ctrl && !held.shift; }
bool TapeIdle(KeyModifiers, const KeyContext& c) { return !c.tape.Playing() && !c.tape.Recording(); }
bool AltNoConversion(KeyModifiers held, const KeyContext& c) {
  return held.alt && !c.tape.conversionBusy;
}

using K = VirtualKey;
using A = KeyAction;

constexpr KeyRow kKeyDown[] = {
    {K::Left, NoCtrl, A::RewindPress},
    {K::Right, NoCtrl, A::ForwardPress},
    {K::Next, Always, A::PreviousPress},
    {K::Prior, Always, A::NextPress},
    {K::Up, VolumeKey, A::VolumeUpPress},
    {K::Up, VolumePlus, A::VolumePlusPress},
    {K::Down, VolumeKey, A::VolumeDownPress},
    {K::Down, VolumeMinus, A::VolumeMinusPress},
    {K::Right, Ctrl, A::OpenPositioner},
    {K::Left, Ctrl, A::OpenPositioner},
};

constexpr KeyRow kKeyUp[] = {
    {K::F1, Always, A::Help},
    {K::F11, Always, A::Help},
    {K::H, Alt, A::Help},
    {K::Return, NoModifier, A::Play},
    {K::Insert, NoModifierNotPlaying, A::Record},
    {K::Left, NoCtrl, A::RewindRelease},
    {K::Right, NoCtrl, A::ForwardRelease},
    {K::Next, Always, A::PreviousRelease},
    {K::Prior, Always, A::NextRelease},
    {K::Escape, Always, A::HideToTray},
    {K::M, Alt, A::MessageSelector},
    {K::V, Alt, A::VolumeControl},
    {K::F12, Always, A::ShortcutWindow},
    {K::X, Alt, A::Exit},
    {K::Back, NoModifierTapeRunning, A::Stop},
    {K::P, AltOnly, A::Pause},
    {K::Delete, TapeIdle, A::DeleteMessage},
    {K::Up, VolumeKey, A::VolumeUpRelease},
    {K::Down, VolumeKey, A::VolumeDownRelease},
    {K::Up, VolumePlus, A::VolumePlusRelease},
    {K::Down, VolumeMinus, A::VolumeMinusRelease},
    {K::E, Alt, A::OpenPositioner},
    {K::S, AltNoConversion, A::SettingsMenu},
};

template <std::size_t N>
std::vector<KeyAction> Matching(const KeyRow (&table)[N], VirtualKey key, KeyModifiers held,
                                const KeyContext& context) {
  std::vector<KeyAction> actions;
  for (const KeyRow& row : table) {
    if (row.key == key && row.applies(held, context)) actions.push_back(row.action);
  }
  return actions;
}

}  // namespace

std::vector<KeyAction> KeyDownActions(VirtualKey key, KeyModifiers held, const KeyContext& context) {
  return Matching(kKeyDown, key, held, context);
}

std::vector<KeyAction> KeyUpActions(VirtualKey key, KeyModifiers held, const KeyContext& context) {
  return Matching(kKeyUp, key, held, context);
}

}  // namespace kiv
