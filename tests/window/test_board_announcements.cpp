// The board's change events, as Qt's accessibility hands them to the platform: one event per
// part and per thing that changed in it (name, description, selection), none before a screen
// reader has asked for the board, none for a repaint that changes nothing, and each move's one
// announcement as the notification showing itself. Needs Qt's accessibility switched on, which
// the offscreen platform cannot do.
#include <QAccessible>
#include <QDeadlineTimer>
#include <gtest/gtest.h>
#include <map>
#include <utility>
#include <vector>

#include "window_rig.h"

namespace lumera::testing {
namespace {

constexpr int kLettersChild = 0;
constexpr int kGridChild = 2;
constexpr int kNoticeChild = 3;

struct Heard {
    QAccessible::Event type;
    QAccessibleInterface* part;
    QAccessible::State changedStates;
};
std::vector<Heard> heard;

void Record(QAccessibleEvent* event) {
    QAccessible::State changed;
    if (event->type() == QAccessible::StateChanged) changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
    heard.push_back({event->type(), event->accessibleInterface(), changed});
}

// The platform switches Qt's accessibility on from its event loop, once it has found the bus.
bool WaitUntilActive() {
    QDeadlineTimer deadline(10000);
    while (!QAccessible::isActive() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return QAccessible::isActive();
}

// How many events of a type each part was heard with, by the part's index among its siblings.
std::map<int, int> Count(QAccessible::Event type, QAccessibleInterface* parent) {
    std::map<int, int> counts;
    for (const Heard& event : heard)
        if (event.type == type && event.part && event.part->parent() == parent) ++counts[parent->indexOfChild(event.part)];
    return counts;
}

std::vector<QString> Texts(QAccessibleInterface* grid, QAccessible::Text text) {
    std::vector<QString> texts;
    for (int i = 0; i < grid->childCount(); ++i) texts.push_back(grid->child(i)->text(text));
    return texts;
}

std::map<int, int> Differences(const std::vector<QString>& before, const std::vector<QString>& after) {
    std::map<int, int> changed;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i]) changed[static_cast<int>(i)] = 1;
    return changed;
}

class BoardAnnouncements : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WaitUntilActive()) << "Qt's accessibility did not switch on: no accessibility bus?";
        heard.clear();
        QAccessible::installUpdateHandler(&Record);
    }
    void TearDown() override { QAccessible::installUpdateHandler(nullptr); }
};

TEST_F(BoardAnnouncements, EachChangedPartIsAnnouncedOnceWithWhatChangedInIt) {
    WindowRig rig("THE EARLY BIRD CATCHES THE WORM.\n");
    const std::string& solution = rig.Game().Solution;
    // Before a screen reader has asked for the board, the game announces nothing.
    QCoreApplication::processEvents();
    heard.clear();
    rig.ClickAlphabet(solution[0]);
    rig.ClickCell(1);
    for (const Heard& event : heard) {
        EXPECT_NE(event.type, QAccessible::NameChanged);
        EXPECT_NE(event.type, QAccessible::SelectionAdd);
    }

    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(&rig.form->Board());
    QAccessibleInterface* letters = board->child(kLettersChild);
    QAccessibleInterface* grid = board->child(kGridChild);
    QAccessibleInterface* notice = board->child(kNoticeChild);
    const char from = solution[0];
    const char to = solution[4];
    ASSERT_NE(from, to);
    heard.clear();
    rig.ClickAlphabet(to);
    EXPECT_EQ(Count(QAccessible::SelectionRemove, letters), (std::map<int, int>{{from - 'A', 1}}));
    EXPECT_EQ(Count(QAccessible::SelectionAdd, letters), (std::map<int, int>{{to - 'A', 1}}));
    EXPECT_EQ(Count(QAccessible::StateChanged, letters), (std::map<int, int>{{from - 'A', 1}, {to - 'A', 1}}));
    for (const Heard& event : heard) {
        if (event.type != QAccessible::StateChanged) continue;
        EXPECT_TRUE(event.changedStates.selected);
        EXPECT_TRUE(event.changedStates.pressed);
    }
    EXPECT_TRUE(Count(QAccessible::NameChanged, letters).empty());
    EXPECT_TRUE(Count(QAccessible::NameChanged, grid).empty());
    EXPECT_TRUE(Count(QAccessible::ObjectShow, board).empty()) << "a selection is heard on its button alone";

    const std::vector<QString> namesBefore = Texts(grid, QAccessible::Name);
    const std::vector<QString> descriptionsBefore = Texts(grid, QAccessible::Description);
    heard.clear();
    rig.ClickCell(5);  // exchanges the letter there with the selected one all over the grid
    const std::map<int, int> renamed = Differences(namesBefore, Texts(grid, QAccessible::Name));
    const std::map<int, int> redescribed = Differences(descriptionsBefore, Texts(grid, QAccessible::Description));
    ASSERT_GE(renamed.size(), 2u);
    ASSERT_FALSE(redescribed.empty());
    EXPECT_EQ(Count(QAccessible::NameChanged, grid), renamed);
    EXPECT_EQ(Count(QAccessible::DescriptionChanged, grid), redescribed);
    EXPECT_TRUE(Count(QAccessible::StateChanged, letters).empty());
    // The move itself is spoken once, by the notification, with the two letters in it.
    EXPECT_EQ(Count(QAccessible::ObjectShow, board), (std::map<int, int>{{kNoticeChild, 1}}));
    EXPECT_TRUE(notice->text(QAccessible::Name).startsWith(QChar(to) + QStringLiteral(" in "))) << notice->text(QAccessible::Name).toStdString();
    EXPECT_FALSE(notice->state().invisible);

    // Show Correct Letters switched off changes the shaded cells' descriptions, not their names.
    const std::vector<QString> shaded = Texts(grid, QAccessible::Description);
    heard.clear();
    rig.form->Window().MenuClick("menuShowCorrectLetters");
    const std::map<int, int> unshaded = Differences(shaded, Texts(grid, QAccessible::Description));
    ASSERT_FALSE(unshaded.empty());
    EXPECT_EQ(Count(QAccessible::DescriptionChanged, grid), unshaded);
    EXPECT_TRUE(Count(QAccessible::NameChanged, grid).empty());

    // A repaint of the whole board that changes nothing says nothing.
    heard.clear();
    rig.form->Window().FormPaint();
    EXPECT_TRUE(Count(QAccessible::NameChanged, grid).empty());
    EXPECT_TRUE(Count(QAccessible::DescriptionChanged, grid).empty());
    EXPECT_TRUE(Count(QAccessible::StateChanged, letters).empty());
    EXPECT_TRUE(Count(QAccessible::ObjectShow, board).empty());
}

}  // namespace
}  // namespace lumera::testing
