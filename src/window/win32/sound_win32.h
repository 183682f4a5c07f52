// The sound port on Win32: PlaySound of the program's WAVE resources.
#pragma once

#include <windows.h>

#include <string>

#include "engine/ports.h"

namespace lumera::win32 {

class Win32Sound final : public ISound {
public:
    // "WAVE1".."WAVE4" from the program's resources. A synchronous sound holds the window's
    // thread; the pointer and menu input that queued meanwhile is thrown away afterwards, so
    // that none of it reaches the game. Without an audio device nothing plays and nothing waits.
    void PlaySound(const std::string& name, bool synchronous) override;
};

// Removes the keyboard and mouse input (client and frame, so menus too) waiting in this
// thread's queue.
void DiscardQueuedInput();

}  // namespace lumera::win32
