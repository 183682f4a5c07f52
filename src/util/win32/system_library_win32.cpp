// Loading a system library on first use, from the system folder only.
#include "util/win32/system_library_win32.h"

namespace lumera::win32 {

FARPROC SystemLibraryFunction(const wchar_t* library, const char* function) {
    // The system folder only, so that a file of the same name beside the program is never
    // taken; where the flag is unknown, the ordinary search.
    HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) module = LoadLibraryW(library);
    // The library stays loaded for the rest of the run: its functions are kept by the callers.
    return module ? GetProcAddress(module, function) : nullptr;
}

}  // namespace lumera::win32
