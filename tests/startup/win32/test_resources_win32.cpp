// The resources built into lumera8.exe, read from the program file: the four sounds with
// their formats and lengths, the icon's four sizes, and the two pictures.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <mmsystem.h>
#include <set>
#include <string>

namespace {

// The program's path as CMake gives it; Wine's drive Z: is the Linux root.
std::wstring ProgramPath() {
    std::string path = LUMERA8_EXE;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    return std::wstring(path.begin(), path.end());
}

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "cannot load " << LUMERA8_EXE;
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    // The bytes of a resource, empty when missing.
    std::string Bytes(const wchar_t* name, const wchar_t* type) {
        const HRSRC found = FindResourceW(module_, name, type);
        if (found == nullptr) return {};
        const HGLOBAL loaded = LoadResource(module_, found);
        return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module_, found));
    }
    HMODULE module_ = nullptr;
};

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}
std::uint16_t U16(const std::string& bytes, std::size_t at) {
    std::uint16_t value = 0;
    std::memcpy(&value, bytes.data() + at, 2);
    return value;
}

TEST_F(ProgramResources, FourWaveSoundsInMono8BitPcmOfTheirLengths) {
    struct Expected {
        const wchar_t* name;
        std::uint32_t rate;
        double seconds;
    };
    for (const Expected& sound : {Expected{L"WAVE1", 11025, 3.4}, Expected{L"WAVE2", 7330, 0.23},
                                  Expected{L"WAVE3", 11025, 0.62}, Expected{L"WAVE4", 11025, 0.20}}) {
        SCOPED_TRACE(::testing::Message() << "sound " << std::string(sound.name, sound.name + 5));
        const std::string wave = Bytes(sound.name, L"WAVE");
        ASSERT_GT(wave.size(), 44u);
        ASSERT_EQ(wave.substr(0, 4), "RIFF");
        ASSERT_EQ(wave.substr(8, 4), "WAVE");
        std::uint32_t dataBytes = 0;
        bool formatSeen = false;
        for (std::size_t at = 12; at + 8 <= wave.size(); at += 8 + U32(wave, at + 4) + (U32(wave, at + 4) & 1)) {
            const std::string id = wave.substr(at, 4);
            if (id == "fmt ") {
                formatSeen = true;
                EXPECT_EQ(U16(wave, at + 8), 1);   // PCM
                EXPECT_EQ(U16(wave, at + 10), 1);  // mono
                EXPECT_EQ(U32(wave, at + 12), sound.rate);
                EXPECT_EQ(U16(wave, at + 22), 8);  // bits a sample
            }
            if (id == "data") dataBytes = U32(wave, at + 4);
        }
        EXPECT_TRUE(formatSeen);
        EXPECT_NEAR(dataBytes / double(sound.rate), sound.seconds, sound.seconds * 0.1);
    }
}

TEST_F(ProgramResources, IconHoldsSixteenThirtyTwoFortyEightAnd256Pixels) {
    const std::string group = Bytes(L"LUMERA8", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    const int count = U16(group, 4);
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::set<int> sizes;
    for (int i = 0; i < count; ++i) {
        const int width = static_cast<unsigned char>(group[6 + 14 * i]);
        sizes.insert(width == 0 ? 256 : width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));
    // Windows picks and reads each size from the group.
    for (int size : {16, 32, 48, 256}) {
        const HICON icon = static_cast<HICON>(LoadImageW(module_, L"LUMERA8", IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST_F(ProgramResources, SplashAndDonationPicturesAreBitmaps) {
    for (const auto& [name, width, height] : {std::tuple{L"SPLASH", 280, 140}, std::tuple{L"DONATE", 350, 135}}) {
        const HBITMAP picture = static_cast<HBITMAP>(LoadImageW(module_, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(picture, nullptr);
        BITMAP info{};
        GetObjectW(picture, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, width);
        EXPECT_EQ(info.bmHeight, height);
        DeleteObject(picture);
    }
}

TEST_F(ProgramResources, SynchronousSoundReturnsWithoutAnAudioDevice) {
    // Here there is no sound card: PlaySound gives up at once; with one it plays 0.23 s.
    const DWORD start = GetTickCount();
    PlaySoundW(L"WAVE2", module_, SND_RESOURCE | SND_SYNC | SND_NODEFAULT);
    EXPECT_LT(GetTickCount() - start, 3000u);
}

}  // namespace
