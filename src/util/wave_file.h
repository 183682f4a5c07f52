// The playing time of a WAVE file, read from its header: what a synchronous play waits for.
#pragma once

#include <string_view>

namespace lumera::util {

// Milliseconds of sound in a RIFF WAVE file's bytes; 0 when they are not one.
int WaveLengthMs(std::string_view wave);

}  // namespace lumera::util
