// Registration of the resource library; a static library's resources are linked only when
// something refers to them, which this function does.
#include "init_resources.h"

#include <QtGlobal>

static void InitLumeraResource() { Q_INIT_RESOURCE(lumera); }

namespace lumera {
void InitResources() {
    static const bool done = (InitLumeraResource(), true);
    (void)done;
}
}  // namespace lumera
