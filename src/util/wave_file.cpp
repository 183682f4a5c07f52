// The playing time of a WAVE file: its data chunk's size over the byte rate of its format chunk.
#include "util/wave_file.h"

#include <cstdint>

namespace lumera::util {

int WaveLengthMs(std::string_view wave) {
    if (wave.size() < 44 || wave.substr(0, 4) != "RIFF") return 0;
    auto u32 = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(wave[at + std::size_t(i)]);
        return value;
    };
    std::uint32_t byteRate = 0;
    for (std::size_t at = 12; at + 8 <= wave.size();) {
        const std::string_view id = wave.substr(at, 4);
        const std::uint32_t size = u32(at + 4);
        if (id == "fmt " && at + 20 <= wave.size()) byteRate = u32(at + 16);
        if (id == "data" && byteRate > 0) return static_cast<int>(std::int64_t(size) * 1000 / byteRate);
        at += 8 + std::size_t(size) + (size & 1);
    }
    return 0;
}

}  // namespace lumera::util
