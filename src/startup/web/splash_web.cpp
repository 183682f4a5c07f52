// The splash and about window's description for the page.
#include "startup/web/splash_web.h"

#include <emscripten.h>

#include "startup/splash_modes.h"
#include "util/form_font.h"
#include "util/web/json_text.h"

namespace lumera::web {

namespace {

EM_JS(void, JsShowSplash, (const char* description), { Module.page.showSplash(JSON.parse(UTF8ToString(description))); });
EM_ASYNC_JS(void, JsShowSplashModally, (const char* description), {
    await Module.page.showForm(JSON.parse(UTF8ToString(description)));
});
EM_JS(void, JsCloseSplash, (), { Module.page.closeSplash(); });

JsonObject Part(const SplashPartDef& part, const char* kind) {
    JsonObject json;
    json.Add("name", part.name)
        .Add("kind", kind)
        .Add("left", part.left)
        .Add("top", part.top)
        .Add("width", part.width)
        .Add("height", part.height)
        .Add("fontPixels", part.fontPixels)
        .Add("bold", part.bold)
        .Add("underline", part.underline);
    if (part.colour != clWindowText) json.Add("colour", CssColour(part.colour));
    return json;
}

}  // namespace

std::string SplashFormDescription(int mode) {
    const SplashModeDef def = SplashModeFor(mode);
    JsonArray parts;
    parts.Append(Part(kSplashImage, "picture").Add("picture", "splash.png").Add("action", "close").Text());
    parts.Append(Part(kSplashTitleLabel, "label").Add("text", kSplashTitleText).Add("align", "center").Text());
    parts.Append(Part(kSplashEditionLabel, "label").Add("text", def.editionText).Add("align", "center").Add("wrap", true).Text());
    JsonObject address = Part(kSplashAddressLabel, "link").Add("text", SplashAddressText()).Add("align", "center");
    if (def.opensHomePage) address.Add("url", kHomePageUrl);
    parts.Append(address.Text());
    parts.Append(Part(kSplashCloseButton, "button")
                     .Add("text", kSplashCloseText)
                     .Add("visible", def.showsCloseButton)
                     .Add("focusable", false)
                     .Add("action", "close")
                     .Text());
    return JsonObject()
        .Add("name", "splashForm")
        .Add("caption", kSplashTitleText)
        .Add("width", kSplashWidth)
        .Add("height", kSplashHeight)
        .Add("fontPixels", kFormFontPixels)
        .Add("titleBar", false)
        .Add("topmost", true)
        .AddRaw("parts", parts.Text())
        .Text();
}

void ShowSplashForm(int mode) { JsShowSplash(SplashFormDescription(mode).c_str()); }
void ShowSplashFormModally(int mode) { JsShowSplashModally(SplashFormDescription(mode).c_str()); }
void CloseSplashForm() { JsCloseSplash(); }

}  // namespace lumera::web
