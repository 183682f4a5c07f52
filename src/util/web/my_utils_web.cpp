// ShellOpen in the browser: a document of the site or a web address opens in a new tab.
#include <emscripten.h>

#include "util/my_utils.h"

namespace {
EM_JS(void, JsOpenDocument, (const char* document), { Module.page.openDocument(UTF8ToString(document)); });
}  // namespace

namespace lumera {

void PlatformShellOpen(const std::string& document) { JsOpenDocument(document.c_str()); }

}  // namespace lumera
