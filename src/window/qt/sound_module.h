// The interface between the game and its audio module (lumera8_sound), which is opened only
// when a sound first plays, so that the audio libraries are not loaded at start-up.
#pragma once

#include <QString>

namespace lumera {

// Plays the WAV resources of the program; made by the module's factory.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // qrcPath is a resource path (":/sounds/WAVE1.wav"). A synchronous play returns when the
    // sound ends, or at the latest lengthMs + 150 ms after it started, without letting user
    // input through in the meantime.
    virtual void Play(const QString& qrcPath, bool synchronous, int lengthMs) = 0;
};

}  // namespace lumera

// The module's one exported symbol: a new player, owned by the caller.
#define LUMERA_SOUND_FACTORY_NAME "lumera_sound_create_player"
using LumeraSoundFactory = lumera::SoundPlayer* (*)();
