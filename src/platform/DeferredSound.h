// Sound devices that come into being at their first use. The recorder hands these to its engines
// at start; the real device behind each one is made, from a factory such as SoundModule's, when
// the engine first opens it (or, for the sound player, first plays a sound), so a program that
// never plays or records loads nothing of the sound system. A factory that returns null makes
// Open answer kAudioNoDriver and Play false, as on a machine without that device; it is asked
// again at the next Open.
//
// Until then a device behaves as a closed one. Afterwards every call and every returned buffer
// passes straight through, so the device contract in AudioDevices.h holds unchanged.
#pragma once

#include <functional>
#include <memory>

#include "platform/AudioDevices.h"
#include "platform/SoundPlayer.h"

namespace kiv {

template <typename Device>
using DeviceFactory = std::function<std::unique_ptr<Device>()>;

class DeferredAudioOutput final : public AudioOutput {
  Q_OBJECT

 public:
  explicit DeferredAudioOutput(DeviceFactory<AudioOutput> make, QObject* parent = nullptr);
  ~DeferredAudioOutput() override;

  int Open(uint32_t rate) override;
  bool Write(const QByteArray& buffer) override;
  void Pause() override;
  void Restart() override;
  void Reset() override;
  void Close() override;
  bool IsOpen() const override { return device_ && device_->IsOpen(); }
  uint64_t Position() const override { return device_ ? device_->Position() : 0; }

 private:
  DeviceFactory<AudioOutput> make_;
  std::unique_ptr<AudioOutput> device_;
};

class DeferredAudioInput final : public AudioInput {
  Q_OBJECT

 public:
  explicit DeferredAudioInput(DeviceFactory<AudioInput> make, QObject* parent = nullptr);
  ~DeferredAudioInput() override;

  int Open(uint32_t rate) override;
  bool AddBuffer(int size) override;
  bool Start() override;
  void Stop() override;
  void Reset() override;
  void Close() override;
  bool IsOpen() const override { return device_ && device_->IsOpen(); }

 private:
  DeviceFactory<AudioInput> make_;
  std::unique_ptr<AudioInput> device_;
};

class DeferredSoundPlayer final : public SoundPlayer {
 public:
  explicit DeferredSoundPlayer(DeviceFactory<SoundPlayer> make);
  ~DeferredSoundPlayer() override;

  bool Play(const QString& path) override;
  void Stop() override;

 private:
  DeviceFactory<SoundPlayer> make_;
  std::unique_ptr<SoundPlayer> player_;
};

}  // namespace kiv
