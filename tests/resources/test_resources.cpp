// Checks the built-in resources as committed: the sounds' format, length and
// levels, the pictures' PNG structure and pixel format, and the Qt resource
// file that gives them the names the game loads them by.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

namespace {

const std::filesystem::path ResourcesDir{LUMERA_RESOURCES_DIR};

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Le16(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t Le32(const Bytes& b, std::size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }
std::uint32_t Be32(const Bytes& b, std::size_t at) {
    return std::uint32_t{b[at]} << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

// ---------------------------------------------------------------------------
// WAV

struct Wave {
    std::string error;  // empty when the file parsed
    std::uint32_t formatTag = 0, channels = 0, sampleRate = 0, byteRate = 0, blockAlign = 0, bitsPerSample = 0;
    Bytes samples;
};

Wave ParseWave(const Bytes& file) {
    Wave wave;
    if (file.size() < 12 || std::string(file.begin(), file.begin() + 4) != "RIFF" ||
        std::string(file.begin() + 8, file.begin() + 12) != "WAVE") {
        wave.error = "not a RIFF WAVE file";
        return wave;
    }
    if (Le32(file, 4) != file.size() - 8) {
        wave.error = "RIFF size does not match the file";
        return wave;
    }
    bool haveFormat = false, haveData = false;
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::string id(file.begin() + at, file.begin() + at + 4);
        const std::uint32_t size = Le32(file, at + 4);
        if (at + 8 + size > file.size()) {
            wave.error = "chunk " + id + " runs past the end";
            return wave;
        }
        if (id == "fmt " && size >= 16) {
            wave.formatTag = Le16(file, at + 8);
            wave.channels = Le16(file, at + 10);
            wave.sampleRate = Le32(file, at + 12);
            wave.byteRate = Le32(file, at + 16);
            wave.blockAlign = Le16(file, at + 20);
            wave.bitsPerSample = Le16(file, at + 22);
            haveFormat = true;
        } else if (id == "data") {
            wave.samples.assign(file.begin() + at + 8, file.begin() + at + 8 + size);
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!haveFormat || !haveData) wave.error = "fmt or data chunk missing";
    return wave;
}

struct SoundCase {
    const char* file;
    std::uint32_t sampleRate;
    double seconds;
};

void PrintTo(const SoundCase& sound, std::ostream* out) { *out << sound.file; }

class SoundFile : public testing::TestWithParam<SoundCase> {
protected:
    Wave Load() const { return ParseWave(ReadFile(ResourcesDir / GetParam().file)); }
};

TEST_P(SoundFile, IsPcmMonoEightBitAtItsSampleRate) {
    const Wave wave = Load();
    ASSERT_EQ(wave.error, "");
    EXPECT_EQ(wave.formatTag, 1u);
    EXPECT_EQ(wave.channels, 1u);
    EXPECT_EQ(wave.bitsPerSample, 8u);
    EXPECT_EQ(wave.blockAlign, 1u);
    EXPECT_EQ(wave.sampleRate, GetParam().sampleRate);
    EXPECT_EQ(wave.byteRate, GetParam().sampleRate);
}

TEST_P(SoundFile, LastsWithinThreePercentOfItsNominalLength) {
    const Wave wave = Load();
    ASSERT_EQ(wave.error, "");
    ASSERT_GT(wave.sampleRate, 0u);
    const double seconds = static_cast<double>(wave.samples.size()) / wave.sampleRate;
    EXPECT_NEAR(seconds, GetParam().seconds, GetParam().seconds * 0.03);
}

TEST_P(SoundFile, StaysClearOfFullScaleAndIsAudible) {
    const Wave wave = Load();
    ASSERT_EQ(wave.error, "");
    ASSERT_FALSE(wave.samples.empty());
    int lowest = 255, highest = 0;
    for (std::uint8_t sample : wave.samples) {
        lowest = std::min<int>(lowest, sample);
        highest = std::max<int>(highest, sample);
    }
    EXPECT_GT(lowest, 0) << "clipped at the bottom";
    EXPECT_LT(highest, 255) << "clipped at the top";
    EXPECT_GE(highest - 128, 64) << "too quiet";
    EXPECT_GE(128 - lowest, 64) << "too quiet";
}

TEST_P(SoundFile, StartsAndEndsInSilenceSoThatItDoesNotClick) {
    const Wave wave = Load();
    ASSERT_EQ(wave.error, "");
    ASSERT_GE(wave.samples.size(), 2u);
    EXPECT_NEAR(wave.samples.front(), 128, 2);
    EXPECT_NEAR(wave.samples.back(), 128, 2);
}

INSTANTIATE_TEST_SUITE_P(Sounds, SoundFile,
                         testing::Values(SoundCase{"wave1.wav", 11025, 3.4}, SoundCase{"wave2.wav", 7330, 0.23},
                                         SoundCase{"wave3.wav", 11025, 0.62}, SoundCase{"wave4.wav", 11025, 0.20}),
                         [](const testing::TestParamInfo<SoundCase>& info) {
                             return std::string("Wave") + std::to_string(info.index + 1);
                         });

// ---------------------------------------------------------------------------
// PNG

std::uint32_t Crc32(const Bytes& data, std::size_t from, std::size_t count) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < from + count; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

struct Png {
    std::string error;  // empty when the file is well formed
    std::uint32_t width = 0, height = 0;
    int bitDepth = -1, colourType = -1, compression = -1, filter = -1, interlace = -1;
};

// Walks the chunks, checking the signature, each CRC, IHDR first, at least one
// IDAT and IEND last.
Png ParsePng(const Bytes& file) {
    static const Bytes signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Png png;
    if (file.size() < 8 || !std::equal(signature.begin(), signature.end(), file.begin())) {
        png.error = "no PNG signature";
        return png;
    }
    std::vector<std::string> order;
    for (std::size_t at = 8; at < file.size();) {
        if (at + 12 > file.size()) {
            png.error = "truncated chunk";
            return png;
        }
        const std::uint32_t length = Be32(file, at);
        if (at + 12 + length > file.size()) {
            png.error = "chunk runs past the end";
            return png;
        }
        const std::string type(file.begin() + at + 4, file.begin() + at + 8);
        if (Crc32(file, at + 4, 4 + length) != Be32(file, at + 8 + length)) {
            png.error = "bad CRC in " + type;
            return png;
        }
        if (type == "IHDR" && length == 13) {
            png.width = Be32(file, at + 8);
            png.height = Be32(file, at + 12);
            png.bitDepth = file[at + 16];
            png.colourType = file[at + 17];
            png.compression = file[at + 18];
            png.filter = file[at + 19];
            png.interlace = file[at + 20];
        }
        order.push_back(type);
        at += 12 + length;
    }
    if (order.empty() || order.front() != "IHDR" || png.bitDepth < 0) {
        png.error = "IHDR missing or not first";
    } else if (std::find(order.begin(), order.end(), "IDAT") == order.end()) {
        png.error = "no IDAT";
    } else if (order.back() != "IEND") {
        png.error = "IEND missing or not last";
    }
    return png;
}

constexpr int Rgb = 2;
constexpr int Rgba = 6;

struct PictureCase {
    const char* file;
    std::uint32_t width, height;
    int colourType;
};

void PrintTo(const PictureCase& picture, std::ostream* out) { *out << picture.file; }

class PictureFile : public testing::TestWithParam<PictureCase> {};

TEST_P(PictureFile, IsAWellFormedPngOfTheExpectedSizeAndPixelFormat) {
    const Png png = ParsePng(ReadFile(ResourcesDir / GetParam().file));
    ASSERT_EQ(png.error, "");
    EXPECT_EQ(png.width, GetParam().width);
    EXPECT_EQ(png.height, GetParam().height);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.colourType, GetParam().colourType);
    EXPECT_EQ(png.compression, 0);
    EXPECT_EQ(png.filter, 0);
    EXPECT_EQ(png.interlace, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureFile,
    testing::Values(PictureCase{"splash.png", 280, 140, Rgb}, PictureCase{"donate.png", 350, 135, Rgb},
                    PictureCase{"door.png", 24, 24, Rgba}, PictureCase{"door_disabled.png", 24, 24, Rgba},
                    PictureCase{"icon.png", 256, 256, Rgba}, PictureCase{"icon-16.png", 16, 16, Rgba},
                    PictureCase{"icon-32.png", 32, 32, Rgba}, PictureCase{"icon-48.png", 48, 48, Rgba},
                    PictureCase{"icon-64.png", 64, 64, Rgba}, PictureCase{"icon-128.png", 128, 128, Rgba}),
    [](const testing::TestParamInfo<PictureCase>& info) {
        std::string name;
        for (const char* c = info.param.file; *c && *c != '.'; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

TEST(PngCheck, NoticesADamagedChunk) {
    Bytes file = ReadFile(ResourcesDir / "door.png");
    ASSERT_EQ(ParsePng(file).error, "");
    file[50] ^= 0x01;  // a byte of the compressed pixels: the IDAT data starts at 41
    EXPECT_EQ(ParsePng(file).error, "bad CRC in IDAT");
}

// ---------------------------------------------------------------------------
// The Qt resource file

// Resource path (":/prefix/alias") to the file it embeds, relative to resources/.
std::map<std::string, std::string> ResourceMap() {
    const Bytes bytes = ReadFile(ResourcesDir / "lumera.qrc");
    const std::string text(bytes.begin(), bytes.end());
    std::map<std::string, std::string> out;
    const std::regex block(R"re(<qresource\s+prefix="([^"]*)"\s*>([\s\S]*?)</qresource>)re");
    const std::regex entry(R"re(<file\s+alias="([^"]*)"\s*>([^<]*)</file>)re");
    for (std::sregex_iterator b(text.begin(), text.end(), block), end; b != end; ++b) {
        std::string prefix = (*b)[1];
        if (prefix.empty() || prefix.back() != '/') prefix += '/';
        const std::string body = (*b)[2];
        for (std::sregex_iterator e(body.begin(), body.end(), entry); e != end; ++e)
            out[":" + prefix + std::string((*e)[1])] = (*e)[2];
    }
    return out;
}

TEST(ResourceFile, EmbedsEverySoundPictureAndIconUnderItsName) {
    const std::map<std::string, std::string> expected{
        {":/sounds/WAVE1.wav", "wave1.wav"},        {":/sounds/WAVE2.wav", "wave2.wav"},
        {":/sounds/WAVE3.wav", "wave3.wav"},        {":/sounds/WAVE4.wav", "wave4.wav"},
        {":/pictures/splash.png", "splash.png"},    {":/pictures/donate.png", "donate.png"},
        {":/pictures/door.png", "door.png"},        {":/pictures/door_disabled.png", "door_disabled.png"},
        {":/icons/icon.png", "icon.png"},           {":/icons/icon-16.png", "icon-16.png"},
        {":/icons/icon-32.png", "icon-32.png"},     {":/icons/icon-48.png", "icon-48.png"},
        {":/icons/icon-64.png", "icon-64.png"},     {":/icons/icon-128.png", "icon-128.png"},
    };
    EXPECT_EQ(ResourceMap(), expected);
}

TEST(ResourceFile, RefersOnlyToFilesThatExist) {
    const auto resources = ResourceMap();
    ASSERT_FALSE(resources.empty());
    for (const auto& [name, file] : resources)
        EXPECT_TRUE(std::filesystem::is_regular_file(ResourcesDir / file)) << name << " -> " << file;
}

}  // namespace
