// Load and save sequences of the recorder's settings.
#include "app/KivRecSettings.h"

#include "cassette/Capacity.h"
#include "platform/SettingsStore.h"

namespace kiv {
namespace {

// A switch is on when it reads "ON"; an absent one reads as its default.
bool On(const SettingsStore& store, const Setting& setting) {
  return store.Read(setting) == QStringLiteral("ON");
}
QString OnOff(bool on) { return on ? QStringLiteral("ON") : QStringLiteral("OFF"); }

}  // namespace

void KivRecSettings::Load(const SettingsStore& store, uint32_t baseRate) {
  const QString speed = store.Read(settings::TickerSpeed);
  if (speed == QStringLiteral("Slow")) {
    tickerSpeed = TSpeed::tsSlow;
  } else if (speed == QStringLiteral("Medium")) {
    tickerSpeed = TSpeed::tsMedium;
  } else if (speed == QStringLiteral("Fast")) {
    tickerSpeed = TSpeed::tsFast;
  }
  lastExportFolder = dataFolder;
  const QString volume = store.Read(settings::VolumeType);
  useMasterVolume = volume != QStringLiteral("WaveOut");
  autoRunOn = On(store, settings::AutoRun);
  recordCapacity = RecordCapacity(baseRate);
  showPanelAtStart = On(store, settings::ShowPanelAtStart);
  autoRewindOnStop = On(store, settings::AutoRewindOnStop);
  useZACexe = store.Read(settings::UseExternalConverter) == QStringLiteral("YES");
}

void KivRecSettings::Save(SettingsStore& store, QPoint panelTopLeft, const QString& programFolder,
                          const QString& programPath) const {
  store.Write(settings::PanelLeft, QString::number(panelTopLeft.x()));
  store.Write(settings::PanelTop, QString::number(panelTopLeft.y()));
  store.Write(settings::ProgramPath, programFolder);
  store.Write(settings::CurrentFolder,
                     lastExportFolder.isEmpty() ? dataFolder : lastExportFolder);
  store.Write(settings::VolumeType,
                     useMasterVolume ? QStringLiteral("Master") : QStringLiteral("WaveOut"));
  store.Write(settings::ShowPanelAtStart, OnOff(showPanelAtStart));
  store.Write(settings::AutoRewindOnStop, OnOff(autoRewindOnStop));
  store.Write(settings::AutoRun, OnOff(autoRunOn));
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
  const QString word = store.Read(settings::TickerDirection);
  TDirection applied;
  if (word == QStringLiteral("Left")) {
    applied = TDirection::tdLeft;
  } else if (word == QStringLiteral("Right")) {
    applied = TDirection::tdRight;
  } else if (word == QStringLiteral("None")) {
    applied = TDirection::tdNone;
  } else {
    return current;
  }
  store.Write(settings::TickerDirection, DirectionWord(applied));
  return applied;
}

}  // namespace kiv
