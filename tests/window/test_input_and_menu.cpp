// Pointer events, the menu bar, the commands and a whole game on the Qt window.
#include <gtest/gtest.h>

#include "window/window_texts.h"

#include <QAction>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QApplication>
#include <QMouseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

#include "window_rig.h"

using namespace lumera;
using namespace lumera::testing;

TEST(PointerInput, AnyButtonReleaseActsAndOnlyThePositionCounts) {
    WindowRig rig;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(30, 10), QPointF(30, 10), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(64.5, 30.2), QPointF(64.5, 30.2), Qt::MiddleButton,
                        Qt::NoButton, Qt::ShiftModifier);
    QApplication::sendEvent(&rig.form->Board(), &press);
    QApplication::sendEvent(&rig.form->Board(), &release);
    EXPECT_EQ(rig.Game().SelectedLetter, 'Q');  // column 4 of the second row
}

TEST(Menu, EntriesItemsNamesAndNoShortcuts) {
    WindowRig rig;
    QStringList seen;
    for (QAction* entry : rig.form->menuBar()->actions()) {
        QMenu* menu = entry->menu();
        ASSERT_NE(menu, nullptr);
        seen << menu->objectName() + "=" + entry->text();
        for (QAction* item : menu->actions()) {
            seen << (item->isSeparator() ? item->objectName() + "=-" : item->objectName() + "=" + item->text());
            EXPECT_TRUE(item->shortcut().isEmpty());
        }
    }
    EXPECT_EQ(seen, (QStringList{"Game1=&Game",
                                 "menuNew=Start &Next puzzle",
                                 "menuSpecifyStart=Specify &Starting puzzle",
                                 "menuCheat=&Cheat and show a letter",
                                 "menuQuit=&Quit",
                                 "N1=-",
                                 "menuNewPuzzleSet=Select a different &Puzzle set",
                                 "menuSolve=Use Lumera to help &Solve a cryptogram!",
                                 "Options1=&Options",
                                 "menuShowCorrectLetters=Show Correct Letters",
                                 "menuSound=Sound",
                                 "menuDonate1=Donate",
                                 "MakeaDonation1=Make a Donation",
                                 "menuHelp=&Help",
                                 "Contents1=&Contents",
                                 "N2=-",
                                 "menuAbout=&About Lumera"}));
}

TEST(Menu, OptionMarksFollowTheSwitchesAndSolverModeDisablesFiveCommands) {
    WindowRig rig;
    auto item = [&](const char* name) { return rig.form->findChild<QAction*>(name); };
    EXPECT_TRUE(item("menuSound")->isChecked());
    item("menuSound")->trigger();
    EXPECT_FALSE(item("menuSound")->isChecked());
    EXPECT_FALSE(rig.Game().SoundOn);
    item("menuShowCorrectLetters")->trigger();
    EXPECT_FALSE(item("menuShowCorrectLetters")->isChecked());

    rig.dialogs.inputAnswers = {"some text"};
    item("menuSolve")->trigger();
    for (const char* name : {"menuNew", "menuCheat", "menuSpecifyStart", "menuNewPuzzleSet", "menuSolve"})
        EXPECT_FALSE(item(name)->isEnabled()) << name;
    for (const char* name : {"menuQuit", "menuShowCorrectLetters", "menuSound", "MakeaDonation1", "Contents1", "menuAbout"})
        EXPECT_TRUE(item(name)->isEnabled()) << name;
    rig.Click(400, 20);  // the status box
    EXPECT_TRUE(item("menuNew")->isEnabled());
    EXPECT_FALSE(rig.Game().SolverMode);
}

TEST(Menu, WindowSizeCaptionAndPlace) {
    WindowRig rig;
    rig.form->show();
    QApplication::processEvents();
    EXPECT_EQ(rig.form->Board().size(), QSize(606, 268));
    EXPECT_EQ(rig.form->pos(), QPoint(173, 137));
    EXPECT_EQ(rig.form->windowTitle(), "Lumera 8.0 by lumera.example - [Lumera8.dat]");
    ASSERT_FALSE(rig.dialogs.informations.empty());  // first run: no Lumera2.dat
    EXPECT_EQ(rig.dialogs.informations[0], "Unable to open puzzle file - Lumera2.dat! Defaulting to Lumera8.dat");
}

TEST(ErrorReport, EscapedErrorsShowAStopMessageAndTheGameGoesOn) {
    EXPECT_EQ(ErrorReportText("File not found"), "File not found.");
    EXPECT_EQ(ErrorReportText("Disk full!"), "Disk full!");
    EXPECT_EQ(ErrorReportText("Done."), "Done.");
    QString shown, caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            caption = box->windowTitle();
            icon = box->icon();
            box->accept();
        }
    });
    bool after = false;
    RunHandler(nullptr, [] { throw std::runtime_error("No such file or directory"); });
    after = true;
    EXPECT_TRUE(after);
    EXPECT_EQ(shown, "No such file or directory.");
    EXPECT_EQ(caption, "Lumera 8.0 Freeware Edition");
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(Scenario, PlayAWholePuzzleQuitAndStartAgain) {
    WindowRig rig;
    LumeraGame& game = rig.Game();
    ASSERT_EQ(game.LineBuf, "HELLO WORLD - SOMEONE");
    EXPECT_EQ(game.SelectedLetter, 'A');
    for (int guard = 0; guard < 30 && game.LineBuf == "HELLO WORLD - SOMEONE"; ++guard) {
        int k = 0;
        while (game.Working[k] == game.Solution[k]) ++k;
        rig.ClickAlphabet(game.Solution[k]);
        rig.ClickCell(k + 1);
    }
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0].first, "HELLO WORLD - SOMEONE");
    EXPECT_EQ(rig.dialogs.messages[0].second, "Congratulations! You have finished this puzzle!");
    EXPECT_EQ(game.LineBuf, "SECOND LINE");
    EXPECT_EQ(game.StatusText(), "Puzzle # 2");
    auto storedIndex = [&] {
        const auto record = util::RegistryStore(rig.StoreFile()).ReadValue(kSettingsKey, kSettingsValueName);
        return record && record->bytes.size() == 152 ? int(record->bytes[148] | record->bytes[149] << 8) : -1;
    };
    EXPECT_EQ(storedIndex(), 0);  // the puzzle just left

    rig.form->Window().menuNewClick();
    EXPECT_EQ(game.LineBuf, "THIRD LINE");
    rig.form->findChild<QAction*>("menuQuit")->trigger();
    EXPECT_FALSE(rig.form->isVisible());
    EXPECT_EQ(storedIndex(), 2);  // the puzzle on the board at "Quit"

    rig.form.reset();
    rig.Start();
    EXPECT_EQ(rig.Game().LineBuf, "THIRD LINE");
    EXPECT_EQ(rig.Game().StatusText(), "Puzzle # 3");
    EXPECT_EQ(rig.form->windowTitle(), "Lumera 8.0 by lumera.example - [Lumera8.dat]");
}

TEST(FileChooser, PatternsMatchWhateverTheCaseAndCancelGivesNothing) {
    TempDir dir;
    dir.Write("lumera8.dat", "X\n");
    dir.Write("notes.txt", "Y\n");
    dir.Write("other.bin", "Z\n");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
    QStringList offered, filters;
    QString suffix;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        suffix = dialog->defaultSuffix();
        auto* model = dialog->findChild<QFileSystemModel*>();
        ASSERT_NE(model, nullptr);
        auto collect = [&, dialog, model] {
            const QModelIndex root = model->index(QString::fromStdString(dir.path.string()));
            for (int row = 0; row < model->rowCount(root); ++row) offered << model->index(row, 0, root).data().toString();
            dialog->reject();
        };
        QObject::connect(model, &QFileSystemModel::directoryLoaded, dialog, collect);
        QTimer::singleShot(3000, dialog, &QDialog::reject);  // never hang the suite
    });
    QtDialogs dialogs(nullptr, nullptr);
    EXPECT_FALSE(dialogs.ChooseFile("Lumera Puzzle Files|*.DAT|Text Files|*.TXT", "*.DAT").has_value());
    std::filesystem::current_path(previous);
    EXPECT_EQ(filters, (QStringList{"Lumera Puzzle Files (*.DAT)", "Text Files (*.TXT)"}));
    EXPECT_EQ(suffix, "DAT");
    EXPECT_EQ(offered, QStringList{"lumera8.dat"});
}
