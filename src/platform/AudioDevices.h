// The sound card as the recorder's engines see it: an output device that plays one buffer at a
// time and an input device that fills the buffers it is given. Unsigned 8-bit mono PCM at the
// rate the device is opened with; one byte is one sample.
//
// Contract the engines rely on:
//  - Open returns 0 or one of the result codes below and never throws.
//  - Every buffer written (output) or added (input) comes back exactly once, as a queued signal
//    handled later on the GUI thread: never from inside Write, Add, Reset, Stop or Close.
//  - Output: Position() is the number of bytes played since Open. Reset cuts the written buffer
//    short; it still comes back (later) through BufferDone.
//  - Input: a returned buffer holds the bytes captured into it, fewer than its size when a
//    Reset cut it short. Buffers still queued at Close come back empty.
//
// The engines own one device each; Close releases everything a device holds, also after a
// failed Open.
#pragma once

#include <QByteArray>
#include <QObject>
#include <cstdint>

namespace kiv {

// Result codes of Open, with the values the engines' messages are keyed on.
inline constexpr int kAudioOk = 0;
inline constexpr int kAudioBadDeviceId = 2;   // MMSYSERR_BADDEVICEID
inline constexpr int kAudioAllocated = 4;     // MMSYSERR_ALLOCATED: busy
inline constexpr int kAudioNoDriver = 6;      // MMSYSERR_NODRIVER: no device at all
inline constexpr int kAudioNoMem = 7;         // MMSYSERR_NOMEM
inline constexpr int kAudioBadFormat = 32;    // WAVERR_BADFORMAT: rate or format refused
inline constexpr int kAudioSync = 35;         // WAVERR_SYNC

class AudioOutput : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  ~AudioOutput() override = default;

  virtual int Open(uint32_t rate) = 0;
  // Queues the one buffer of the segment; false when the device refuses it (it will not come
  // back then).
  virtual bool Write(const QByteArray& buffer) = 0;
  virtual void Pause() = 0;
  virtual void Restart() = 0;
  virtual void Reset() = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual uint64_t Position() const = 0;

 Q_SIGNALS:
  // A written buffer came back, fully played or cut short by Reset.
  void BufferDone();
};

class AudioInput : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  ~AudioInput() override = default;

  virtual int Open(uint32_t rate) = 0;
  // Queues one empty buffer of `size` bytes to be filled; false when the device refuses it.
  virtual bool AddBuffer(int size) = 0;
  virtual bool Start() = 0;
  virtual void Stop() = 0;
  virtual void Reset() = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

 Q_SIGNALS:
  // A queued buffer came back with the bytes captured into it.
  void BufferFull(const QByteArray& data);
};

}  // namespace kiv
