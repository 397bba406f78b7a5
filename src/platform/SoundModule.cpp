// Loading kivqtsound and asking it for devices.
#include "platform/SoundModule.h"

#include <QLibrary>

#include "platform/InstallLayout.h"
#include "platform/QtSoundModule.h"

namespace kiv {
namespace SoundModule {
namespace {

// The library is loaded once and never unloaded: the devices it made run its code until the
// program ends.
QFunctionPointer Resolve(const char* symbol) {
  static QLibrary* library = [] {
    auto* loaded = new QLibrary(InstallLayout::ModulePath(QStringLiteral("kivqtsound")));
    if (!loaded->load()) {
      qWarning("Sound devices unavailable: %s", qUtf8Printable(loaded->errorString()));
    }
    return loaded;
  }();
  return library->isLoaded() ? library->resolve(symbol) : nullptr;
}

template <typename Device>
std::unique_ptr<Device> Make(const char* symbol) {
  const auto make = reinterpret_cast<Device* (*)()>(Resolve(symbol));
  return std::unique_ptr<Device>(make != nullptr ? make() : nullptr);
}

}  // namespace

std::unique_ptr<AudioOutput> NewAudioOutput() { return Make<AudioOutput>(kNewAudioOutput); }
std::unique_ptr<AudioInput> NewAudioInput() { return Make<AudioInput>(kNewAudioInput); }
std::unique_ptr<SoundPlayer> NewSoundPlayer() { return Make<SoundPlayer>(kNewSoundPlayer); }

}  // namespace SoundModule
}  // namespace kiv
