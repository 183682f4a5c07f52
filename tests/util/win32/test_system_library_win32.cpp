// System library functions looked up on first use (run under Wine): a library the program
// does not import is loaded when asked for, the function found works, and a missing library
// or function gives null instead of failing.
#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include "util/win32/system_library_win32.h"

namespace lumera::win32 {
namespace {

TEST(SystemFunctionTest, LoadsALibraryNotImportedAndFindsAWorkingFunction) {
    // This test program imports nothing of the sound library.
    EXPECT_EQ(GetModuleHandleW(L"winmm.dll"), nullptr);
    const auto playSound = SystemFunction<decltype(&::PlaySoundA)>(L"winmm.dll", "PlaySoundA");
    ASSERT_NE(playSound, nullptr);
    const HMODULE loaded = GetModuleHandleW(L"winmm.dll");
    ASSERT_NE(loaded, nullptr);
    using Generic = void (*)();
    EXPECT_EQ(reinterpret_cast<Generic>(playSound), reinterpret_cast<Generic>(GetProcAddress(loaded, "PlaySoundA")));
    // Without a sound name it stops whatever plays, which succeeds with or without a device.
    EXPECT_TRUE(playSound(nullptr, nullptr, 0));
    // Asked again, the same function from the library already loaded.
    EXPECT_EQ(SystemFunction<decltype(&::PlaySoundA)>(L"winmm.dll", "PlaySoundA"), playSound);
}

TEST(SystemFunctionTest, AMissingLibraryOrFunctionIsNull) {
    EXPECT_EQ(SystemLibraryFunction(L"lumera-no-such-library.dll", "PlaySoundA"), nullptr);
    EXPECT_EQ(SystemLibraryFunction(L"kernel32.dll", "LumeraNoSuchFunction"), nullptr);
}

}  // namespace
}  // namespace lumera::win32
