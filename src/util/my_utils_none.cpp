// ShellOpen where there is no desktop to hand documents to (toolkit-free tests): nothing opens.
#include "util/my_utils.h"

namespace lumera {

void PlatformShellOpen(const std::string&) {}

}  // namespace lumera
