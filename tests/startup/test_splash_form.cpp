// The splash and about window's description for its two modes, without a toolkit.
#include "startup/splash_form.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "util/publisher.h"

namespace lumera {
namespace {

const FormPart& PartNamed(const Form& form, const std::string& name) {
    const auto found = std::find_if(form.parts.begin(), form.parts.end(), [&](const FormPart& p) { return p.name == name; });
    if (found == form.parts.end()) throw std::runtime_error("no part " + name);
    return *found;
}

TEST(SplashForm, OnlyTheAboutModeShowsTheCrossAndOpensTheHomePage) {
    for (int mode : {2, 5}) {
        SCOPED_TRACE(mode);
        const Form form = SplashForm(mode);
        EXPECT_EQ(form.width, 280);
        EXPECT_EQ(form.height, 140);
        EXPECT_TRUE(form.topmost);
        EXPECT_FALSE(form.titleBar);
        const FormPart& cross = PartNamed(form, "btnClose");
        EXPECT_EQ(cross.visible, mode == 5);
        EXPECT_FALSE(cross.focusable);
        EXPECT_EQ(cross.text, "X");
        EXPECT_EQ(PartNamed(form, "Label3").url, mode == 5 ? kHomePageUrl : "");
        EXPECT_EQ(PartNamed(form, "lblEval").text, "Freeware Edition");
        EXPECT_EQ(PartNamed(form, "Label1").text, "Lumera 8.0");
        // The picture and the cross close the window; the texts do nothing.
        for (const FormPart& part : form.parts)
            EXPECT_EQ(part.action == PartAction::Close, part.name == "Image1" || part.name == "btnClose") << part.name;
        EXPECT_EQ(form.parts.front().name, "Image1") << "the picture lies beneath the other parts";
    }
}

}  // namespace
}  // namespace lumera
