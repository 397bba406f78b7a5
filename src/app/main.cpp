// Program entry: one recorder per user session, then the front panel.
#include <QApplication>
#include <QSystemTrayIcon>
#include <iostream>

#include "app/ConverterModule.h"
#include "app/TKivRecForm.h"
#ifdef Q_OS_WIN
#include "mailweb/WinSimpleMapi.h"
#else
#include "mailweb/XdgEmailMapi.h"
#include "mixer/AlsaMixerBackend.h"
#endif
#include "mixer/TAudioMixer.h"
#include "panel/SkinLoader.h"
#include "platform/DeferredSound.h"
#include "platform/QtConversionDoneChannel.h"
#include "platform/QtDesktopLauncher.h"
#include "platform/QtDialogs.h"
#include "platform/QtFolders.h"
#include "platform/QtFreeSpace.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtSingleInstance.h"
#include "platform/SoundModule.h"
#include "programinfo/StandardOptions.h"

namespace {

constexpr const char* kUsage =
    "Usage: KivRec\n"
    "       KivRec --help|--version\n"
    "Starts Kiv Sound Recorder, the dictaphone panel that records onto one cassette file in the\n"
    "per-user data folder. Only one recorder runs per user session: a second start leaves the\n"
    "running one alone and ends at once. Other arguments are ignored. The command-line companion\n"
    "kivrec-cli works on the cassette without a display.\n";

}  // namespace

int main(int argc, char** argv) {
  // Before QApplication: answering needs no display.
  if (const auto status = kiv::AnswerStandardOption(argc, argv, "KivRec", kUsage, std::cout)) {
    return *status;
  }
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Zorvikware"));
  QApplication::setApplicationName(QStringLiteral("Kiv Sound Recorder"));
  // No application display name: the X11 platform would append it to every other window's title
  // ("Custom Text — Kiv Sound Recorder"). A window without a title of its own still shows the
  // application name, and the desktop file name ties the windows to KivRec.desktop.
  QGuiApplication::setDesktopFileName(QStringLiteral("KivRec"));

  // A second start leaves the running recorder alone and ends at once.
  kiv::QtSingleInstance instance;
  if (!instance.TryAcquire()) return 0;

  kiv::QtSettingsStore settings;
  kiv::QtFolders folders;
  kiv::QtFreeSpace freeSpace;
  // The sound system is loaded at the first sound, not at start.
  kiv::DeferredAudioOutput output(kiv::SoundModule::NewAudioOutput);
  kiv::DeferredAudioInput input(kiv::SoundModule::NewAudioInput);
  kiv::DeferredSoundPlayer sounds(kiv::SoundModule::NewSoundPlayer);
  kiv::QtDesktopLauncher launcher;
  kiv::QtConversionDoneChannel doneChannel;
  // Whether the desktop offers a mail hand-off is decided once, here.
#ifdef Q_OS_WIN
  kiv::WinSimpleMapi mail;
#else
  kiv::XdgEmailMapi mail;
#endif
  kiv::QtDialogs dialogs(nullptr, [&settings] {
    return settings.Read(kiv::settings::OnTop) == QStringLiteral("ON");
  });

  // The system's mixer; a system without one (or without ALSA) gets a mixer with no device.
#ifdef Q_OS_WIN
  kiv::TAudioMixer mixer(nullptr);
#else
  kiv::TAudioMixer mixer(std::make_unique<kiv::AlsaMixerBackend>());
#endif

  kiv::KivRecServices services;
  services.settings = &settings;
  services.dialogs = &dialogs;
  services.freeSpace = &freeSpace;
  services.folders = &folders;
  services.audioOutput = &output;
  services.audioInput = &input;
  services.soundPlayer = &sounds;
  services.launcher = &launcher;
  services.doneChannel = &doneChannel;
  services.mail = &mail;
  services.mixer = &mixer;
  services.newConversionJob = [&folders](QString* why) {
    return kiv::ConverterModule::NewJob(folders.TempFolder(), folders.ProgramFolder(), why);
  };
  services.logicalDpi = kiv::SkinLoader::ScreenLogicalDpi();
  services.programPath = QApplication::applicationFilePath();
  services.trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();

  kiv::TKivRecForm panel(services);
  dialogs.SetPanel(&panel);
  if (!panel.SkinLoaded()) return 0;
  if (panel.ShowAtStart()) panel.show();
  return app.exec();
}
