// The donation dialog's description, without a toolkit.
#include "donate/donate_form.h"

#include <gtest/gtest.h>

#include "donate/donate_layout.h"
#include "util/publisher.h"

namespace lumera {
namespace {

TEST(DonateForm, AnswersInOrderTheFirstSelectedProceedClosesAndThePanelLinksHome) {
    const Form form = DonateForm();
    EXPECT_EQ(form.caption, "Make a Donation");
    EXPECT_TRUE(form.titleBar);
    EXPECT_TRUE(form.modal);
    EXPECT_EQ(form.background, 0xC0DCC0u);
    ASSERT_EQ(form.parts.size(), 4u);
    const FormPart& answers = form.parts[1];
    EXPECT_EQ(answers.kind, PartKind::RadioGroup);
    ASSERT_EQ(answers.items.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(answers.items[i], kDonateAnswerTexts[i]);
    EXPECT_EQ(answers.selected, 0);
    const FormPart& proceed = form.parts[2];
    EXPECT_EQ(proceed.name, "ntmOK");
    EXPECT_EQ(proceed.action, PartAction::Close);
    EXPECT_EQ(proceed.picture, "door");
    const FormPart& panel = form.parts[3];
    ASSERT_EQ(panel.parts.size(), 3u);
    EXPECT_EQ(panel.parts[2].url, kHomePageUrl);
    EXPECT_EQ(panel.parts[2].action, PartAction::None) << "the link leaves the dialog up";
    for (const FormPart& label : {panel.parts[0], panel.parts[1]}) EXPECT_TRUE(label.wrap && label.url.empty());
}

}  // namespace
}  // namespace lumera
