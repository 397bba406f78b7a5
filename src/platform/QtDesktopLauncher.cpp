#include "platform/QtDesktopLauncher.h"

#include <QProcess>
#include <QStandardPaths>
#include <array>

#ifdef Q_OS_WIN
#include <QDesktopServices>
#include <QUrl>
#endif

namespace kiv {
namespace {

struct VolumeControl {
  const char* program;
  std::array<const char*, 2> playback;
  std::array<const char*, 2> recording;
};

#ifdef Q_OS_WIN
constexpr std::array<VolumeControl, 1> kVolumeControls{{
    {"sndvol", {nullptr, nullptr}, {nullptr, nullptr}},
}};
#else
constexpr std::array<VolumeControl, 3> kVolumeControls{{
    {"pavucontrol", {"--tab", "1"}, {"--tab", "2"}},
    {"pavucontrol-qt", {"--tab", "1"}, {"--tab", "2"}},
    {"mate-volume-control", {"--page", "output"}, {"--page", "input"}},
}};
#endif

QStringList Arguments(const std::array<const char*, 2>& option) {
  QStringList arguments;
  for (const char* part : option) {
    if (part != nullptr) arguments.append(QString::fromLatin1(part));
  }
  return arguments;
}

}  // namespace

bool QtDesktopLauncher::OpenAddress(const QString& address) {
#ifdef Q_OS_WIN
  return QDesktopServices::openUrl(QUrl(address));
#else
  return StartFromPath(QStringLiteral("xdg-open"), {address});
#endif
}

bool QtDesktopLauncher::StartVolumeControl(VolumeView view) {
  for (const VolumeControl& control : kVolumeControls) {
    const QString program = QString::fromLatin1(control.program);
    if (QStandardPaths::findExecutable(program).isEmpty()) continue;
    return StartFromPath(program, Arguments(view == VolumeView::Recording ? control.recording
                                                                          : control.playback));
  }
  return false;
}

bool QtDesktopLauncher::StartProgram(const QString& path, const QStringList& arguments) {
  return QProcess::startDetached(path, arguments);
}

bool QtDesktopLauncher::StartWatchedProgram(const QString& path, const QStringList& arguments,
                                            std::function<void()> ended) {
  // Not owned by anyone: deleting a running QProcess would kill the program, and the program
  // must outlive a recorder that is closed while it works. It deletes itself once it has ended.
  auto* process = new QProcess;
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  QObject::connect(process, &QProcess::finished, process, [process, ended] {
    process->deleteLater();
    if (ended) ended();
  });
  QObject::connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) process->deleteLater();
  });
  process->start(path, arguments);
  return process->waitForStarted();
}

bool QtDesktopLauncher::StartFromPath(const QString& program, const QStringList& arguments) {
  const QString found = QStandardPaths::findExecutable(program);
  return !found.isEmpty() && QProcess::startDetached(found, arguments);
}

}  // namespace kiv
