// The donation dialog's description for the page, and the wait for its answer.
#include "donate/web/donate_web.h"

#include <emscripten.h>

#include "donate/donate_layout.h"
#include "util/form_font.h"
#include "util/web/json_text.h"

namespace lumera::web {

namespace {

EM_ASYNC_JS(int, JsShowDonateForm, (const char* description), {
    return await Module.page.showForm(JSON.parse(UTF8ToString(description)));
});

JsonObject Part(const DonatePartDef& part, const char* kind) {
    return JsonObject()
        .Add("name", part.name)
        .Add("kind", kind)
        .Add("left", part.left)
        .Add("top", part.top)
        .Add("width", part.width)
        .Add("height", part.height);
}

}  // namespace

std::string DonateFormDescription() {
    JsonArray answers;
    for (const char* text : kDonateAnswerTexts) answers.Append(JsonString(text));
    JsonArray panelParts;
    panelParts.Append(Part(kDonateLabel1, "label").Add("text", DonateLabel1Text()).Add("wrap", true).Text());
    panelParts.Append(Part(kDonateLabel2, "label").Add("text", kDonateLabel2Text).Add("wrap", true).Text());
    panelParts.Append(Part(kDonateHomePageLabel, "link")
                          .Add("text", DonateHomePageText())
                          .Add("colour", CssColour(clLinkBlue))
                          .Add("align", "center")
                          .Add("url", kHomePageUrl)
                          .Text());
    JsonArray parts;
    parts.Append(Part(kDonateImage, "picture").Add("picture", "donate.png").Text());
    parts.Append(Part(kDonateRadioGroup, "radiogroup")
                     .Add("background", CssColour(clCream))
                     .AddRaw("items", answers.Text())
                     .Add("selected", 0)
                     .Add("itemLeft", kDonateItemLeft)
                     .Add("itemTop", kDonateItemTop)
                     .Add("itemPitch", kDonateItemPitch)
                     .Add("itemWidth", kDonateItemWidth)
                     .Text());
    parts.Append(Part(kDonateProceedButton, "button")
                     .Add("text", kDonateProceedText)
                     .Add("glyph", "door.png")
                     .Add("glyphPixels", kDonateGlyphPixels)
                     .Add("action", "close")
                     .Text());
    parts.Append(Part(kDonatePanel, "panel")
                     .Add("background", CssColour(clCream))
                     .Add("light", CssColour(clBevelLight))
                     .Add("shadow", CssColour(clBevelShadow))
                     .AddRaw("parts", panelParts.Text())
                     .Text());
    return JsonObject()
        .Add("name", "DonateForm")
        .Add("caption", kDonateCaption)
        .Add("width", kDonateClientWidth)
        .Add("height", kDonateClientHeight)
        .Add("background", CssColour(clMoneyGreen))
        .Add("fontPixels", kFormFontPixels)
        .Add("modal", true)
        .Add("titleBar", true)
        .AddRaw("parts", parts.Text())
        .Text();
}

int WebDonateDialog::ShowDonateDialog() {
    const int answer = JsShowDonateForm(DonateFormDescription().c_str());
    return answer >= 0 && answer < static_cast<int>(kDonateAnswerTexts.size()) ? answer : 0;
}

}  // namespace lumera::web
