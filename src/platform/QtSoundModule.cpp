// The entry points of kivqtsound; their names are the ones in QtSoundModule.h.
#include "platform/QtSoundModule.h"

#include <QtGlobal>

#include "platform/QtAudioInput.h"
#include "platform/QtAudioOutput.h"
#include "platform/QtSoundPlayer.h"

extern "C" {

Q_DECL_EXPORT kiv::AudioOutput* kivNewAudioOutput() { return new kiv::QtAudioOutput; }
Q_DECL_EXPORT kiv::AudioInput* kivNewAudioInput() { return new kiv::QtAudioInput; }
Q_DECL_EXPORT kiv::SoundPlayer* kivNewSoundPlayer() { return new kiv::QtSoundPlayer; }

}  // extern "C"
