// The splash and about window drawn by the page from its description.
#include "startup/web/splash_web.h"

#include <emscripten.h>

#include "startup/splash_form.h"
#include "util/web/form_json.h"

namespace lumera::web {

namespace {

EM_JS(void, JsShowSplash, (const char* description), { Module.page.showSplash(JSON.parse(UTF8ToString(description))); });
EM_ASYNC_JS(void, JsShowSplashModally, (const char* description), {
    await Module.page.showForm(JSON.parse(UTF8ToString(description)));
});
EM_JS(void, JsCloseSplash, (), { Module.page.closeSplash(); });

}  // namespace

void ShowSplashForm(int mode) { JsShowSplash(FormJson(SplashForm(mode)).c_str()); }
void ShowSplashFormModally(int mode) { JsShowSplashModally(FormJson(SplashForm(mode)).c_str()); }
void CloseSplashForm() { JsCloseSplash(); }

}  // namespace lumera::web
