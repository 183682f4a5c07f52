// Form descriptions as the page receives them: JSON the page can parse, with the splash mode's
// close button and link, the dialog's answers, glyph and panel, and texts in UTF-8.
#include <emscripten.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "donate/donate_form.h"
#include "donate/donate_layout.h"
#include "startup/splash_form.h"
#include "util/web/form_json.h"

namespace {

using namespace lumera;
using namespace lumera::web;

EM_JS(char*, JsQuery, (const char* description, const char* expression), {
    const d = JSON.parse(UTF8ToString(description));
    const value = String(eval(UTF8ToString(expression)));
    const size = lengthBytesUTF8(value) + 1;
    const out = _malloc(size);
    stringToUTF8(value, out, size);
    return out;
});

// Evaluates a JavaScript expression over the parsed description `d`; its value as text.
std::string Query(const std::string& description, const char* expression) {
    char* text = JsQuery(description.c_str(), expression);
    std::string result(text);
    free(text);
    return result;
}

TEST(FormDescriptions, SplashAndAboutDifferInTheirCloseButtonAndLink) {
    const std::string splash = FormJson(SplashForm(2)), about = FormJson(SplashForm(5));
    const char* closeButton = "d.parts.find(p => p.name === 'btnClose').visible";
    const char* link = "d.parts.find(p => p.name === 'Label3').url";
    EXPECT_EQ(Query(splash, closeButton), "false");
    EXPECT_EQ(Query(about, closeButton), "true");
    EXPECT_EQ(Query(splash, link), "undefined");
    EXPECT_EQ(Query(about, link), kHomePageUrl);
    EXPECT_EQ(Query(splash, "[d.width, d.height, d.titleBar].join()"), "280,140,false");
    EXPECT_EQ(Query(splash, "d.parts.find(p => p.name === 'lblEval').text"), "Freeware Edition");
    EXPECT_EQ(Query(splash, "d.parts.find(p => p.name === 'Image1').picture"), "splash.png");
    EXPECT_EQ(Query(about, "[d.topmost, d.background].join()"), "true,") << "the system's face colour is the page's";
}

TEST(FormDescriptions, DonationDialogCarriesItsAnswersAndQuotedText) {
    const std::string dialog = FormJson(DonateForm());
    EXPECT_EQ(Query(dialog, "[d.caption, d.width, d.height, d.background].join()"), "Make a Donation,366,473,#c0dcc0");
    EXPECT_EQ(Query(dialog, "d.parts.find(p => p.name === 'rgDonate').items.length"), "5");
    EXPECT_EQ(Query(dialog, "d.parts.find(p => p.name === 'rgDonate').items[4]"), kDonateAnswerTexts[4]);
    EXPECT_EQ(Query(dialog, "d.parts.find(p => p.name === 'Panel1').parts[0].text"), DonateLabel1Text());
    EXPECT_EQ(Query(dialog, "d.parts.find(p => p.name === 'rgDonate').selected"), "0");
    EXPECT_EQ(Query(dialog, "(p => [p.glyph, p.glyphPixels, p.action].join())(d.parts.find(p => p.name === 'ntmOK'))"),
              "door.png,24,close");
    EXPECT_EQ(Query(dialog, "(p => [p.light, p.shadow, p.parts[2].url].join())(d.parts.find(p => p.name === 'Panel1'))"),
              std::string("#ffffff,#808080,") + kHomePageUrl);
}

TEST(FormDescriptions, TextsArriveInUtf8) {
    Form form;
    form.caption = "Caf\xE9";
    FormPart label;
    label.text = "\x93quoted\x94";
    form.parts.push_back(label);
    EXPECT_EQ(Query(FormJson(form), "d.caption + d.parts[0].text"), "Caf\u00e9\u201cquoted\u201d");
}

}  // namespace
