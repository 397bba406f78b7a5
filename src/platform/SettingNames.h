// The one list of the recorder's settings: each value's name in the settings key and the text an
// absent value stands for. Everything that reads or writes a setting names it through here, so a
// misspelt name does not compile.
//
// Plain C++ without Qt, so programs beside the recorder that share its settings can use it too.
// An empty default means the value has none: the reader decides what its absence means (the panel
// position, for one, depends on which of "DDX" and "DDY" is there).
#pragma once

namespace kiv {

// The settings' version: the group under which they are kept and the value of "KSRVer".
inline constexpr char kSettingsVersion[] = "3.4";

struct Setting {
  const char* name;
  const char* byDefault;
};

namespace settings {

// The panel and its ticker.
inline constexpr Setting OnTop{"OnTop", "OFF"};
inline constexpr Setting PanelLeft{"DDX", ""};
inline constexpr Setting PanelTop{"DDY", ""};
inline constexpr Setting TickerSpeed{"MSpeed", "Slow"};
inline constexpr Setting TickerDirection{"MDirection", "Left"};
inline constexpr Setting CustomText{"CustomText", "https://kivrec.example.org/"};
inline constexpr Setting CurrentSkin{"CurrentSkin", ""};
inline constexpr Setting ShowStartupDialog{"Info", "ON"};

// Switches of the Options dialog, read by the load sequence and written by the save sequence.
inline constexpr Setting VolumeType{"VolumeType", "WaveOut"};
inline constexpr Setting AutoRun{"AutoRun", "ON"};
inline constexpr Setting ShowPanelAtStart{"OpenDDForm", "ON"};
inline constexpr Setting AutoRewindOnStop{"AutoRewindOnStop", "ON"};

// Published for other programs and never read back by the recorder.
inline constexpr Setting ProgramPath{"KSRPath", ""};
inline constexpr Setting CurrentFolder{"CurrentFolder", ""};
inline constexpr Setting Version{"KSRVer", ""};
inline constexpr Setting WindowHandle{"DDHandle", ""};

// The external converter: the switch that selects it, and the job it is handed.
inline constexpr Setting UseExternalConverter{"UseZACexe", "NO"};
inline constexpr Setting ChangeFrom{"ChangeFrom", ""};
inline constexpr Setting ChangeFromType{"ChangeFromType", ""};
inline constexpr Setting ChangeFromFreq{"ChangeFromFreq", ""};
inline constexpr Setting ChangeTo{"ChangeTo", ""};
inline constexpr Setting ChangeToType{"ChangeToType", ""};
inline constexpr Setting ChangeToFreq{"ChangeToFreq", ""};
inline constexpr Setting ChangeToMessageStart{"ChangeToMessageStart", ""};
inline constexpr Setting ChangeToMessageEnd{"ChangeToMessageEnd", ""};

}  // namespace settings
}  // namespace kiv
