// The splash and about window built from the splash's layout numbers, texts and mode table.
#include "startup/splash_form.h"

#include <string>
#include <utility>

#include "startup/splash_modes.h"
#include "util/form_font.h"

namespace lumera {

namespace {

// A part with the font and colour of its layout entry, its text centred.
FormPart Part(PartKind kind, const SplashPartDef& def, std::string text = {}) {
    FormPart part = PlacedPart(kind, def, std::move(text));
    part.font = PartFont{def.fontPixels, def.bold, def.underline};
    part.colour = def.colour;
    part.align = PartAlign::Centre;
    return part;
}

}  // namespace

Form SplashForm(int mode) {
    const SplashModeDef def = SplashModeFor(mode);
    Form form;
    form.name = "splashForm";
    form.caption = kSplashTitleText;
    form.width = kSplashWidth;
    form.height = kSplashHeight;
    form.fontPixels = kFormFontPixels;
    form.topmost = true;

    FormPart picture = Part(PartKind::Picture, kSplashImage);
    picture.picture = "splash";
    picture.align = PartAlign::Left;
    picture.action = PartAction::Close;
    form.parts.push_back(picture);
    form.parts.push_back(Part(PartKind::Label, kSplashTitleLabel, kSplashTitleText));
    FormPart edition = Part(PartKind::Label, kSplashEditionLabel, def.editionText);
    edition.wrap = true;
    form.parts.push_back(edition);
    FormPart address = Part(PartKind::Link, kSplashAddressLabel, SplashAddressText());
    if (def.opensHomePage) address.url = kHomePageUrl;
    form.parts.push_back(address);
    FormPart close = Part(PartKind::Button, kSplashCloseButton, kSplashCloseText);
    close.visible = def.showsCloseButton;
    close.focusable = false;
    close.action = PartAction::Close;
    form.parts.push_back(close);
    return form;
}

}  // namespace lumera
