// What the real dialogs show: texts as they stand (never markup), file names in the file
// system's encoding, whole captions; and ShellOpen's silence without a launcher.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>

#include "modal_answerer.h"
#include "util/my_utils.h"
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
    for (int guard = 0; guard < 30 && rig.Game().LineBuf == line; ++guard) rig.form->Window().menuCheatClick();
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

TEST(FileNames, TheFallbackMessageShowsAStoredNameInTheFileSystemsEncoding) {
    RealDialogsRig rig;
    rig.StorePuzzleFile("\xC3\x89t\xC3\xA9 \xE2\x80\x93 \xC3\xBC.dat");  // "Été – ü.dat" as the file system spells it
    rig.Start();
    ASSERT_EQ(rig.answerer.shown.size(), 1u);
    EXPECT_EQ(rig.answerer.shown[0].text, Fallback(QString::fromUtf8("\xC3\x89t\xC3\xA9 \xE2\x80\x93 \xC3\xBC.dat")));
}

TEST(FileNames, AChosenFileWithAnyNameOpensShowsInTheCaptionAndIsFoundAgain) {
    RealDialogsRig rig;
    const QString name = QString::fromUtf8("\xC3\xA9 <b>\xE2\x82\xAC &amp; \xD0\x96.dat");  // é <b>€ &amp; Ж.dat
    const QString path = QDir(QString::fromStdString(rig.dir.path.string())).filePath(name);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("CHOSEN FIRST\nCHOSEN SECOND\n");
    }
    rig.Start();
    ASSERT_EQ(rig.answerer.shown.size(), 1u);  // first run: the stored default is not there
    rig.answerer.fileAnswer = path;
    rig.answerer.inputAnswers = {"2"};
    rig.form->findChild<QAction*>("menuNewPuzzleSet")->trigger();
    const QString caption = "Lumera 8.0 by lumera.example - [" + path + "]";
    EXPECT_EQ(rig.form->windowTitle(), caption);
    EXPECT_EQ(rig.Game().PuzzleFileName, QFile::encodeName(path).toStdString());
    EXPECT_EQ(rig.Game().LineBuf, "CHOSEN SECOND");
    ASSERT_EQ(rig.answerer.shown.size(), 2u) << "no message but the number input box";

    rig.form.reset();
    rig.Start();
    EXPECT_EQ(rig.answerer.shown.size(), 2u) << "found again: no fallback message";
    EXPECT_EQ(rig.form->windowTitle(), caption);
    EXPECT_EQ(rig.Game().LineBuf, "CHOSEN SECOND");
}

TEST(ShellOpen, WithoutXdgOpenNothingIsSaidOnStandardError) {
    static QStringList messages;
    messages.clear();
    TempDir empty;
    const QByteArray previousPath = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(empty.path.string()));
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { messages << message; });
    qWarning("the handler hears warnings");
    ShellOpen("https://lumera.example/");
    ShellOpen(empty.Write("page.html", "<p>x</p>"));
    qInstallMessageHandler(previous);
    qputenv("PATH", previousPath);
    EXPECT_EQ(messages, QStringList{"the handler hears warnings"});
}

namespace {
// What a title bar needs for a caption: its text in bold, and at least 96 pixels for the
// window's icon, three buttons and the frame.
int TitleBarWidth(const QString& caption) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(caption) + 96;
}
}  // namespace

TEST(Captions, EveryMessageAndInputBoxIsWideEnoughForItsWholeCaption) {
    RealDialogsRig rig("A\nB\nC\n");
    rig.Start();                                   // the fallback message
    rig.answerer.inputAnswers = {"2"};
    rig.form->Window().menuSpecifyStartClick();             // the number input box
    RunHandler(rig.form.get(), [] { throw std::runtime_error("Disk full"); });  // the error report
    rig.form->Window().menuCheatClick();                    // the congratulation
    const auto& shown = rig.answerer.shown;
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1].caption, "Lumera 8.0 by lumera.example");
    EXPECT_EQ(shown[2].caption, "Lumera 8.0 Freeware Edition");
    EXPECT_EQ(shown[3].caption, kCongratulations);
    for (const auto& box : shown) EXPECT_GE(box.width, TitleBarWidth(box.caption)) << box.caption.toStdString();
}
