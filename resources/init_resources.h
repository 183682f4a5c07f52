// Registers the built-in resources; call once before loading ":/..." paths.
#pragma once

namespace lumera {
void InitResources();
}
