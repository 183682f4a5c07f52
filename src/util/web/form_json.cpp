// The JSON text of a form description for the page.
#include "util/web/form_json.h"

#include "util/text_encoding.h"
#include "util/json_text.h"

namespace lumera::web {

namespace {

const char* KindName(PartKind kind) {
    switch (kind) {
        case PartKind::Picture: return "picture";
        case PartKind::Label: return "label";
        case PartKind::Link: return "link";
        case PartKind::Button: return "button";
        case PartKind::RadioGroup: return "radiogroup";
        case PartKind::Panel: return "panel";
    }
    return "label";
}

std::string Text(const std::string& cp1252) { return util::Cp1252ToUtf8(cp1252); }

std::string PartJson(const FormPart& part) {
    JsonObject json;
    json.Add("name", part.name)
        .Add("kind", KindName(part.kind))
        .Add("left", part.left)
        .Add("top", part.top)
        .Add("width", part.width)
        .Add("height", part.height);
    if (part.font.pixels > 0) json.Add("fontPixels", part.font.pixels);
    if (part.font.bold) json.Add("bold", true);
    if (part.font.underline) json.Add("underline", true);
    if (part.colour != clWindowText) json.Add("colour", CssColour(part.colour));
    if (part.kind == PartKind::Picture) json.Add("picture", part.picture + ".png");
    if (!part.text.empty()) json.Add("text", Text(part.text));
    if (part.align == PartAlign::Centre && part.kind != PartKind::Picture) json.Add("align", "center");
    if (part.wrap) json.Add("wrap", true);
    json.Add("visible", part.visible);
    if (part.action == PartAction::Close) json.Add("action", "close");
    if (!part.url.empty()) json.Add("url", part.url);
    if (part.kind == PartKind::Button) {
        if (!part.picture.empty()) json.Add("glyph", part.picture + ".png").Add("glyphPixels", part.glyphPixels);
        if (!part.focusable) json.Add("focusable", false);
    }
    if (part.kind == PartKind::RadioGroup) {
        JsonArray items;
        for (const std::string& item : part.items) items.Append(JsonString(Text(item)));
        json.Add("background", CssColour(part.background))
            .AddRaw("items", items.Text())
            .Add("selected", part.selected)
            .Add("itemLeft", part.itemLeft)
            .Add("itemTop", part.itemTop)
            .Add("itemPitch", part.itemPitch)
            .Add("itemWidth", part.itemWidth);
    }
    if (part.kind == PartKind::Panel) {
        JsonArray parts;
        for (const FormPart& inner : part.parts) parts.Append(PartJson(inner));
        json.Add("background", CssColour(part.background))
            .Add("light", CssColour(part.light))
            .Add("shadow", CssColour(part.shadow))
            .AddRaw("parts", parts.Text());
    }
    return json.Text();
}

}  // namespace

std::string FormJson(const Form& form) {
    JsonArray parts;
    for (const FormPart& part : form.parts) parts.Append(PartJson(part));
    JsonObject json;
    json.Add("name", form.name).Add("caption", Text(form.caption)).Add("width", form.width).Add("height", form.height);
    if (form.background != clBtnFace) json.Add("background", CssColour(form.background));
    json.Add("fontPixels", form.fontPixels).Add("modal", form.modal).Add("titleBar", form.titleBar);
    if (form.topmost) json.Add("topmost", true);
    return json.AddRaw("parts", parts.Text()).Text();
}

}  // namespace lumera::web
