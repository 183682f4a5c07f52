// The board as Qt's accessibility sees it, offscreen: the structure a screen reader walks, the
// parts' names, descriptions, states and screen rectangles, and the one action of each part.
#include <QAccessible>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "window/qt/board_accessible.h"
#include "window_rig.h"

namespace lumera::testing {
namespace {

constexpr int kLettersChild = 0;
constexpr int kStatusChild = 1;
constexpr int kGridChild = 2;

QAccessibleInterface* BoardInterface(WindowRig& rig) { return QAccessible::queryAccessibleInterface(&rig.form->Board()); }
QAccessibleInterface* Letter(QAccessibleInterface* board, char letter) {
    return board->child(kLettersChild)->child(letter - 'A');
}
QAccessibleInterface* Status(QAccessibleInterface* board) { return board->child(kStatusChild)->child(0); }
QAccessibleInterface* Cell(QAccessibleInterface* board, int n) { return board->child(kGridChild)->child(n - 1); }
void Click(QAccessibleInterface* part) { part->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); }

// What a cell shows, as a screen reader is to hear it.
QString Shown(char byte) { return byte == ' ' ? QStringLiteral("blank") : FromCp1252(std::string(1, byte)); }

TEST(BoardAccessible, ReadsAsAToolbarOfLettersTheStatusAndATableOfTheGridsCells) {
    // "É" and the curly quotes are Windows-1252 bytes that are no letters of the game.
    WindowRig rig("CAF\xC9 \x93NOIR\x94 - A FRIEND\n");
    QAccessibleInterface* board = BoardInterface(rig);
    ASSERT_NE(board, nullptr);
    ASSERT_EQ(board->childCount(), 4);
    const std::vector<std::pair<QAccessible::Role, QString>> groups = {
        {QAccessible::ToolBar, "Alphabet"}, {QAccessible::Grouping, "Status"}, {QAccessible::Table, "Puzzle"}};
    for (int index = 0; index < 3; ++index) {
        QAccessibleInterface* group = board->child(index);
        EXPECT_EQ(std::pair(group->role(), group->text(QAccessible::Name)), groups[static_cast<std::size_t>(index)]);
        EXPECT_EQ(group->parent(), board);
        EXPECT_EQ(board->indexOfChild(group), index);
    }
    // The announcements' notification takes no room on the screen.
    EXPECT_EQ(board->child(3)->role(), QAccessible::Notification);
    EXPECT_TRUE(board->child(3)->rect().isEmpty());

    QAccessibleInterface* letters = board->child(kLettersChild);
    ASSERT_EQ(letters->childCount(), 26);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        QAccessibleInterface* button = Letter(board, letter);
        EXPECT_EQ(button->role(), QAccessible::Button);
        EXPECT_EQ(button->text(QAccessible::Name), QString(QChar(letter)));
        EXPECT_EQ(button->parent(), letters);
        EXPECT_EQ(letters->indexOfChild(button), letter - 'A');
    }
    QAccessibleInterface* status = Status(board);
    EXPECT_EQ(status->role(), QAccessible::Button);
    EXPECT_EQ(status->parent(), board->child(kStatusChild));
    EXPECT_EQ(status->text(QAccessible::Name), "Puzzle # 1");
    EXPECT_TRUE(status->text(QAccessible::Description).endsWith(" letters still to place"));

    QAccessibleInterface* grid = board->child(kGridChild);
    ASSERT_EQ(grid->role(), QAccessible::Table);
    QAccessibleTableInterface* table = grid->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 9);
    EXPECT_EQ(table->columnCount(), 30);
    ASSERT_EQ(grid->childCount(), 270);
    const std::string working = rig.Game().Working;
    for (int n = 1; n <= 270; ++n) {
        SCOPED_TRACE("cell " + std::to_string(n));
        QAccessibleInterface* cell = table->cellAt((n - 1) / 30, (n - 1) % 30);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell, grid->child(n - 1));
        EXPECT_EQ(grid->indexOfChild(cell), n - 1);
        EXPECT_EQ(cell->parent(), grid);
        EXPECT_EQ(cell->role(), QAccessible::Cell);
        EXPECT_EQ(cell->tableCellInterface()->rowIndex(), (n - 1) / 30);
        EXPECT_EQ(cell->tableCellInterface()->columnIndex(), (n - 1) % 30);
        EXPECT_EQ(cell->text(QAccessible::Name), Shown(n <= static_cast<int>(working.size()) ? working[n - 1] : ' '));
    }
    const auto at = [&](char byte) { return static_cast<int>(working.find(byte)) + 1; };
    EXPECT_EQ(Cell(board, at('\xC9'))->text(QAccessible::Name), QString(QChar(0x00C9)));
    EXPECT_EQ(Cell(board, at('\x93'))->text(QAccessible::Name), QString(QChar(0x201C)));
    // Show Correct Letters is on: the unenciphered "É" is shaded, a wrongly placed letter is not.
    EXPECT_EQ(Cell(board, at('\xC9'))->text(QAccessible::Description), "correct");
    const int wrong = static_cast<int>(std::mismatch(working.begin(), working.end(), rig.Game().Solution.begin()).first -
                                       working.begin()) + 1;
    ASSERT_LE(wrong, static_cast<int>(working.size()));
    EXPECT_EQ(Cell(board, wrong)->text(QAccessible::Description), "");
}

TEST(BoardAccessible, PartsLieWhereTheBoardDrawsThemOnTheScreen) {
    WindowRig rig;
    rig.form->show();
    QAccessibleInterface* board = BoardInterface(rig);
    const QPoint origin = rig.form->Board().mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(Letter(board, 'A')->rect(), QRect(origin + QPoint(4, 4), QSize(19, 21)));
    EXPECT_EQ(Letter(board, 'N')->rect(), QRect(origin + QPoint(4, 26), QSize(19, 21)));
    EXPECT_EQ(Status(board)->rect(), QRect(origin + QPoint(272, 4), QSize(329, 43)));
    QAccessibleInterface* cell = Cell(board, 32);
    EXPECT_EQ(cell->rect(), QRect(origin + QPoint(24, 86), QSize(19, 21)));
    // A point is found in the board's grid, and in the grid, in its cell.
    const QPoint centre = cell->rect().center();
    EXPECT_EQ(board->childAt(centre.x(), centre.y()), board->child(kGridChild));
    EXPECT_EQ(board->child(kGridChild)->childAt(centre.x(), centre.y()), cell);
    EXPECT_FALSE(Letter(board, 'A')->state().invisible);
    rig.form->hide();
    EXPECT_TRUE(Letter(board, 'A')->state().invisible);
}

TEST(BoardAccessible, EachPartsOneActionPlaysAsAClickOnItDoes) {
    const std::string puzzle = "THE EARLY BIRD CATCHES THE WORM.\n";
    WindowRig byActions(puzzle);
    WindowRig byClicks(puzzle);
    ASSERT_EQ(byActions.Game().Working, byClicks.Game().Working);
    QAccessibleInterface* board = BoardInterface(byActions);
    EXPECT_EQ(Cell(board, 1)->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    EXPECT_EQ(Letter(board, 'B')->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});

    const std::string& solution = byActions.Game().Solution;
    for (int n : {1, 5, 16}) {
        SCOPED_TRACE("cell " + std::to_string(n));
        const char letter = solution[static_cast<std::size_t>(n - 1)];
        Click(Letter(board, letter));
        byClicks.ClickAlphabet(letter);
        // The action runs from the event loop, as a click arrives, so that the screen reader's
        // call has returned before any message the click opens.
        EXPECT_NE(byActions.Game().SelectedLetter, letter);
        QCoreApplication::processEvents();
        EXPECT_EQ(byActions.Game().SelectedLetter, letter);
        EXPECT_TRUE(Letter(board, letter)->state().selected);
        EXPECT_TRUE(Letter(board, letter)->state().pressed);

        Click(Cell(board, n));
        byClicks.ClickCell(n);
        QCoreApplication::processEvents();
        EXPECT_EQ(byActions.Game().Working, byClicks.Game().Working);
        EXPECT_EQ(Cell(board, n)->text(QAccessible::Name), QString(QChar(letter)));
        EXPECT_TRUE(byActions.Screen() == byClicks.Screen());
    }
    const auto selected = [&] {
        QString letters;
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            if (Letter(board, letter)->state().selected) letters += QChar(letter);
        return letters;
    };
    EXPECT_EQ(selected(), QString(QChar(solution[15])));
}

TEST(BoardAccessible, AnActionWhileAModalWindowIsUpIsDroppedAsAClickWouldBe) {
    WindowRig rig;
    QAccessibleInterface* board = BoardInterface(rig);
    const char before = rig.Game().SelectedLetter;
    char during = 0;
    QMessageBox box(rig.form.get());
    QTimer::singleShot(0, &box, [&] {
        Click(Letter(board, 'Q'));
        QCoreApplication::processEvents();
        during = rig.Game().SelectedLetter;
        box.done(0);
    });
    box.exec();
    QCoreApplication::processEvents();
    EXPECT_EQ(during, before);
    EXPECT_EQ(rig.Game().SelectedLetter, before);
    Click(Letter(board, 'Q'));
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.Game().SelectedLetter, 'Q');
}

}  // namespace
}  // namespace lumera::testing
