// PlaySound of WAVE resources, and the input that a synchronous sound holds back. The sound
// library is loaded at the first sound, not at start.
#include "window/win32/sound_win32.h"

#include <mmsystem.h>
// The port's operation has the same name as the system's macro for PlaySoundA/W.
#undef PlaySound

#include "util/win32/system_library_win32.h"

namespace lumera::win32 {

namespace {
// PlaySoundA, looked up once; null without the sound library.
decltype(&::PlaySoundA) PlaySoundFunction() {
    static const auto function = SystemFunction<decltype(&::PlaySoundA)>(L"winmm.dll", "PlaySoundA");
    return function;
}
}  // namespace

void DiscardQueuedInput() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    // Presses on the frame and menu bar, which would open a menu.
    while (PeekMessageW(&message, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
    }
}

void Win32Sound::PlaySound(const std::string& name, bool synchronous) {
    // SND_NODEFAULT: a missing sound is silence, not the system's default beep.
    const DWORD flags = SND_RESOURCE | SND_NODEFAULT | (synchronous ? SND_SYNC : SND_ASYNC);
    // Without the sound library: silence.
    const auto playSound = PlaySoundFunction();
    if (playSound == nullptr) return;
    playSound(name.c_str(), GetModuleHandleW(nullptr), flags);
    if (synchronous) DiscardQueuedInput();
}

}  // namespace lumera::win32
