// The clock port on Win32: a seed that changes from run to run, and the local calendar day.
#pragma once

#include "engine/ports.h"

namespace lumera::win32 {

class Win32Clock final : public IClock {
public:
    std::uint64_t SeedValue() override;
    // GetLocalTime's date as a day number.
    int Today() override;
};

}  // namespace lumera::win32
