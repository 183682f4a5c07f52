// The donation dialog built from its layout numbers, texts and colours.
#include "donate/donate_form.h"

#include "donate/donate_layout.h"
#include "util/form_font.h"

namespace lumera {

Form DonateForm() {
    Form form;
    form.name = "DonateForm";
    form.caption = kDonateCaption;
    form.width = kDonateClientWidth;
    form.height = kDonateClientHeight;
    form.background = clMoneyGreen;
    form.fontPixels = kFormFontPixels;
    form.titleBar = true;

    FormPart picture = PlacedPart(PartKind::Picture, kDonateImage);
    picture.picture = "donate";
    form.parts.push_back(picture);

    FormPart answers = PlacedPart(PartKind::RadioGroup, kDonateRadioGroup);
    answers.background = clCream;
    answers.items.assign(kDonateAnswerTexts.begin(), kDonateAnswerTexts.end());
    answers.itemLeft = kDonateItemLeft;
    answers.itemTop = kDonateItemTop;
    answers.itemPitch = kDonateItemPitch;
    answers.itemWidth = kDonateItemWidth;
    answers.light = clBevelLight;
    answers.shadow = clBevelShadow;
    form.parts.push_back(answers);

    FormPart proceed = PlacedPart(PartKind::Button, kDonateProceedButton, kDonateProceedText);
    proceed.picture = "door";
    proceed.glyphPixels = kDonateGlyphPixels;
    proceed.action = PartAction::Close;
    form.parts.push_back(proceed);

    FormPart panel = PlacedPart(PartKind::Panel, kDonatePanel);
    panel.background = clCream;
    panel.light = clBevelLight;
    panel.shadow = clBevelShadow;
    FormPart label1 = PlacedPart(PartKind::Label, kDonateLabel1, DonateLabel1Text());
    label1.wrap = true;
    FormPart label2 = PlacedPart(PartKind::Label, kDonateLabel2, kDonateLabel2Text);
    label2.wrap = true;
    FormPart homePage = PlacedPart(PartKind::Link, kDonateHomePageLabel, DonateHomePageText());
    homePage.colour = clLinkBlue;
    homePage.font.underline = true;
    homePage.align = PartAlign::Centre;
    homePage.url = kHomePageUrl;
    panel.parts = {label1, label2, homePage};
    form.parts.push_back(panel);
    return form;
}

}  // namespace lumera
