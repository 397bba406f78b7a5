// Sound devices made at their first use.
#include "platform/DeferredSound.h"

#include <utility>

namespace kiv {

DeferredAudioOutput::DeferredAudioOutput(DeviceFactory<AudioOutput> make, QObject* parent)
    : AudioOutput(parent), make_(std::move(make)) {}

// The device goes before this object, so it cannot hand a buffer back to a half-destroyed one.
DeferredAudioOutput::~DeferredAudioOutput() { device_.reset(); }

int DeferredAudioOutput::Open(uint32_t rate) {
  if (!device_) {
    device_ = make_();
    if (!device_) return kAudioNoDriver;
    connect(device_.get(), &AudioOutput::BufferDone, this, &AudioOutput::BufferDone);
  }
  return device_->Open(rate);
}

bool DeferredAudioOutput::Write(const QByteArray& buffer) {
  return device_ && device_->Write(buffer);
}

void DeferredAudioOutput::Pause() {
  if (device_) device_->Pause();
}

void DeferredAudioOutput::Restart() {
  if (device_) device_->Restart();
}

void DeferredAudioOutput::Reset() {
  if (device_) device_->Reset();
}

void DeferredAudioOutput::Close() {
  if (device_) device_->Close();
}

DeferredAudioInput::DeferredAudioInput(DeviceFactory<AudioInput> make, QObject* parent)
    : AudioInput(parent), make_(std::move(make)) {}

DeferredAudioInput::~DeferredAudioInput() { device_.reset(); }

int DeferredAudioInput::Open(uint32_t rate) {
  if (!device_) {
    device_ = make_();
    if (!device_) return kAudioNoDriver;
    connect(device_.get(), &AudioInput::BufferFull, this, &AudioInput::BufferFull);
  }
  return device_->Open(rate);
}

bool DeferredAudioInput::AddBuffer(int size) { return device_ && device_->AddBuffer(size); }

bool DeferredAudioInput::Start() { return device_ && device_->Start(); }

void DeferredAudioInput::Stop() {
  if (device_) device_->Stop();
}

void DeferredAudioInput::Reset() {
  if (device_) device_->Reset();
}

void DeferredAudioInput::Close() {
  if (device_) device_->Close();
}

DeferredSoundPlayer::DeferredSoundPlayer(DeviceFactory<SoundPlayer> make)
    : make_(std::move(make)) {}

DeferredSoundPlayer::~DeferredSoundPlayer() = default;

bool DeferredSoundPlayer::Play(const QString& path) {
  if (!player_) player_ = make_();
  return player_ && player_->Play(path);
}

void DeferredSoundPlayer::Stop() {
  if (player_) player_->Stop();
}

}  // namespace kiv
