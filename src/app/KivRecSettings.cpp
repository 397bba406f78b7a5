// Load and save sequences of the recorder's settings.
#include "app/KivRecSettings.h"

#include "cassette/Capacity.h"
#include "platform/SettingsStore.h"

namespace kiv {
namespace {

// "ON" switches: the empty text (absent) and "ON" mean on, anything else off.
bool OnByDefault(const QString& value) { return value.isEmpty() || value == QStringLiteral("ON"); }
QString OnOff(bool on) { return on ? QStringLiteral("ON") : QStringLiteral("OFF"); }

}  // namespace

void KivRecSettings::Load(const SettingsStore& store, uint32_t baseRate) {
  const QString speed = store.ReadSetting(QStringLiteral("MSpeed"));
  if (speed.isEmpty() || speed == QStringLiteral("Slow")) {
    tickerSpeed = TSpeed::tsSlow;
  } else if (speed == QStringLiteral("Medium")) {
    tickerSpeed = TSpeed::tsMedium;
  } else if (speed == QStringLiteral("Fast")) {
    tickerSpeed = TSpeed::tsFast;
  }
  lastExportFolder = dataFolder;
  const QString volume = store.ReadSetting(QStringLiteral("VolumeType"));
  useMasterVolume = !(volume.isEmpty() || volume == QStringLiteral("WaveOut"));
  autoRunOn = OnByDefault(store.ReadSetting(QStringLiteral("AutoRun")));
  recordCapacity = RecordCapacity(baseRate);
  showPanelAtStart = OnByDefault(store.ReadSetting(QStringLiteral("OpenDDForm")));
  autoRewindOnStop = OnByDefault(store.ReadSetting(QStringLiteral("AutoRewindOnStop")));
  useZACexe = store.ReadSetting(QStringLiteral("UseZACexe")) == QStringLiteral("YES");
}

void KivRecSettings::Save(SettingsStore& store, QPoint panelTopLeft, const QString& programFolder,
                          const QString& programPath) const {
  store.WriteSetting(QStringLiteral("DDX"), QString::number(panelTopLeft.x()));
  store.WriteSetting(QStringLiteral("DDY"), QString::number(panelTopLeft.y()));
  store.WriteSetting(QStringLiteral("KSRPath"), programFolder);
  store.WriteSetting(QStringLiteral("CurrentFolder"),
                     lastExportFolder.isEmpty() ? dataFolder : lastExportFolder);
  store.WriteSetting(QStringLiteral("VolumeType"),
                     useMasterVolume ? QStringLiteral("Master") : QStringLiteral("WaveOut"));
  store.WriteSetting(QStringLiteral("OpenDDForm"), OnOff(showPanelAtStart));
  store.WriteSetting(QStringLiteral("AutoRewindOnStop"), OnOff(autoRewindOnStop));
  store.WriteSetting(QStringLiteral("AutoRun"), OnOff(autoRunOn));
  store.SetAutostart(autoRunOn, programPath);
}

QString KivRecSettings::DirectionWord(TDirection direction) {
  switch (direction) {
    case TDirection::tdLeft: return QStringLiteral("Left");
    case TDirection::tdRight: return QStringLiteral("Right");
    case TDirection::tdNone: return QStringLiteral("None");
  }
  return QStringLiteral("Left");
}

QString KivRecSettings::SpeedWord(TSpeed speed) {
  switch (speed) {
    case TSpeed::tsSlow: return QStringLiteral("Slow");
    case TSpeed::tsMedium: return QStringLiteral("Medium");
    case TSpeed::tsFast: return QStringLiteral("Fast");
  }
  return QStringLiteral("Slow");
}

TDirection KivRecSettings::ApplyTickerDirection(SettingsStore& store, TDirection current) {
  const QString word = store.ReadSetting(QStringLiteral("MDirection"));
  TDirection applied;
  if (word.isEmpty() || word == QStringLiteral("Left")) {
    applied = TDirection::tdLeft;
  } else if (word == QStringLiteral("Right")) {
    applied = TDirection::tdRight;
  } else if (word == QStringLiteral("None")) {
    applied = TDirection::tdNone;
  } else {
    return current;
  }
  store.WriteSetting(QStringLiteral("MDirection"), DirectionWord(applied));
  return applied;
}

}  // namespace kiv
