// What the real dialogs show: texts as they stand, never as markup.
#include <gtest/gtest.h>

#include <QAction>

#include "modal_answerer.h"
#include "window/window_texts.h"

using namespace lumera;
using namespace lumera::testing;

namespace {
const QString kCongratulations = "Congratulations! You have finished this puzzle!";

QString Fallback(const QString& name) {
    return "Unable to open puzzle file - " + name + "! Defaulting to Lumera8.dat";
}
}  // namespace

TEST(PlainText, TheCongratulationShowsThePuzzleLineCharacterForCharacter) {
    const std::string line = "<B>AB</B> &amp;   C";
    RealDialogsRig rig(line + "\nNEXT LINE\n");
    rig.Start();
    ASSERT_EQ(rig.Game().LineBuf, line);
    for (int guard = 0; guard < 30 && rig.Game().LineBuf == line; ++guard) rig.form->menuCheatClick();
    ASSERT_EQ(rig.Game().LineBuf, "NEXT LINE");
    const auto& shown = rig.answerer.shown;
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().caption, kCongratulations);
    EXPECT_EQ(shown.back().text, QString::fromStdString(line));
    EXPECT_EQ(shown.back().format, Qt::PlainText);
}

TEST(PlainText, TheFallbackMessageShowsAStoredNameLiterally) {
    RealDialogsRig rig;
    rig.StorePuzzleFile("<b>NOPE</b>.dat");
    rig.Start();
    ASSERT_EQ(rig.answerer.shown.size(), 1u);
    EXPECT_EQ(rig.answerer.shown[0].caption, "Information");
    EXPECT_EQ(rig.answerer.shown[0].text, Fallback("<b>NOPE</b>.dat"));
    EXPECT_EQ(rig.answerer.shown[0].format, Qt::PlainText);
}

TEST(PlainText, InputBoxPromptAndErrorReport) {
    ModalAnswerer answerer;
    answerer.inputAnswers = {"<i>typed</i>"};
    QtDialogs dialogs(nullptr, nullptr);
    std::string text = "1";
    ASSERT_TRUE(dialogs.InputBox("Caption", "<b>Enter</b>  &lt;it&gt;:", text));
    EXPECT_EQ(text, "<i>typed</i>");
    RunHandler(nullptr, [] { throw std::runtime_error("<b>No such file</b>"); });
    ASSERT_EQ(answerer.shown.size(), 2u);
    EXPECT_EQ(answerer.shown[0].text, "<b>Enter</b>  &lt;it&gt;:");
    EXPECT_EQ(answerer.shown[0].format, Qt::PlainText);
    EXPECT_EQ(answerer.shown[1].text, "<b>No such file</b>.");
    EXPECT_EQ(answerer.shown[1].format, Qt::PlainText);
}
