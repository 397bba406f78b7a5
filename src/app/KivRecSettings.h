// The recorder's settings as the panel uses them: read once when the panel is built (the load
// sequence), written back at Exit (the save sequence). Values live in the settings store as
// text; switches are "ON"/"OFF", numbers decimal, and an absent value means the default.
//
// Values that other parts read on their own whenever they need them ("OnTop", "MDirection",
// "Info", ...) are not cached here. Names and defaults are those of platform/SettingNames.h.
#pragma once

#include <QPoint>
#include <QString>

#include "panel/TMarquee.h"
#include "platform/SettingNames.h"


namespace kiv {

class SettingsStore;

class KivRecSettings {
 public:
  // The address the ticker shows until the user types a text of their own.
  static QString DefaultCustomText() { return QString::fromLatin1(settings::CustomText.byDefault); }

  // Load sequence; `baseRate` is the rate the capacity is computed from.
  void Load(const SettingsStore& store, uint32_t baseRate);
  // Save sequence: panel place, program folder, export folder, switches, autostart entry.
  void Save(SettingsStore& store, QPoint panelTopLeft, const QString& programFolder,
            const QString& programPath) const;

  // "MDirection" as the ticker applies it: absent or "Left" → Left, "Right", "None"; any other
  // word leaves `current` and writes nothing back. Otherwise the applied word is written back.
  static TDirection ApplyTickerDirection(SettingsStore& store, TDirection current);
  static QString DirectionWord(TDirection direction);
  static QString SpeedWord(TSpeed speed);

  TSpeed tickerSpeed = TSpeed::tsSlow;
  bool useMasterVolume = false;
  bool autoRunOn = true;
  bool showPanelAtStart = true;
  bool autoRewindOnStop = true;
  bool useZACexe = false;
  uint32_t recordCapacity = 0;
  QString lastExportFolder;
  QString dataFolder;
};

}  // namespace kiv
