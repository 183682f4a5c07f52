// The board for screen readers on Qt. The board widget's interface maps the window layer's board
// tree onto AT-SPI: its children are the tree's groups in their order (the alphabet as a
// toolbar, the status as a grouping, the puzzle as a table of 9 rows and 30 columns) and a
// notification that speaks the layer's announcements. Each part is named and described as the
// layer describes it and has one action, a click on its centre. From the first request for
// the children on, the layer tells the bridge of every change, and the bridge sends the events.
#include "window/qt/board_accessible.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <memory>
#include <vector>

#include "window/qt/mainform.h"
#include "window/qt/qt_ports.h"

namespace lumera {
namespace {

constexpr int kNoticeChild = kBoardGroupCount;

class BoardAccessible;

// The parts' common plumbing: no object, no children of their own unless a group says so.
class BoardNode : public QAccessibleInterface {
public:
    explicit BoardNode(BoardAccessible& board) : board_(board) {}
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    void setText(QAccessible::Text, const QString&) override {}

protected:
    BoardAccessible& board_;
};

// One part of the board: an alphabet button, the status button or a cell of the grid.
class PartAccessible final : public BoardNode,
                             public QAccessibleActionInterface,
                             public QAccessibleTableCellInterface {
public:
    PartAccessible(BoardAccessible& board, int part) : BoardNode(board), part_(part) {}

    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // The one action, a click.
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // A grid cell's place in the table.
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    bool IsGridCell() const { return kBoardGroups[BoardGroupOf(part_)].kind == BoardGroupKind::Puzzle; }

    const int part_;
};

// A group of the tree; the puzzle's is a table.
class GroupAccessible final : public BoardNode, public QAccessibleTableInterface {
public:
    GroupAccessible(BoardAccessible& board, int group) : BoardNode(board), group_(kBoardGroups[group]) {}

    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override { return group_.PartCount(); }
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? QString::fromLatin1(group_.name) : QString();
    }
    QRect rect() const override;
    QAccessible::Role role() const override {
        switch (group_.kind) {
            case BoardGroupKind::Letters: return QAccessible::ToolBar;
            case BoardGroupKind::Status: return QAccessible::Grouping;
            case BoardGroupKind::Puzzle: return QAccessible::Table;
        }
        return QAccessible::Grouping;
    }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override {
        const bool isTable = type == QAccessible::TableInterface && group_.kind == BoardGroupKind::Puzzle;
        return isTable ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return group_.columns; }
    int rowCount() const override { return group_.rows; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    const BoardGroup& group_;
};

// Where the layer's announcements are spoken. Qt 6.4 has no announcement event; a notification
// that shows itself is what screen readers on AT-SPI speak at once, whatever has the focus. It
// has no size, so a review of the screen passes over it.
class NoticeAccessible final : public BoardNode {
public:
    explicit NoticeAccessible(BoardAccessible& board) : BoardNode(board) {}

    void Show(const QString& text) {
        text_ = text;
        QAccessibleEvent hide(this, QAccessible::ObjectHide);
        QAccessible::updateAccessibility(&hide);
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
        QAccessibleEvent show(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&show);
    }

    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? text_ : QString(); }
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = text_.isEmpty();
        return state;
    }

private:
    QString text_;
};

// Tells screen readers of each part that changed, with what changed in it, and speaks what
// each action changed.
class PartAnnouncer final : public IBoardObserver {
public:
    PartAnnouncer(const std::vector<PartAccessible*>& parts, NoticeAccessible& notice)
        : parts_(parts), notice_(notice) {}

    void BoardPartChanged(int part, const BoardPart& before, const BoardPart& now) override {
        QAccessibleInterface* changed = parts_[static_cast<std::size_t>(part)];
        if (now.name != before.name) {
            QAccessibleEvent event(changed, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
        if (now.description != before.description) {
            QAccessibleEvent event(changed, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        }
        if (now.selected != before.selected) {
            QAccessible::State states;
            states.selected = true;
            states.pressed = true;
            QAccessibleStateChangeEvent stateEvent(changed, states);
            QAccessible::updateAccessibility(&stateEvent);
            // Qt's AT-SPI bridge passes a change of the selected state on to screen readers
            // only when it comes as a selection event.
            QAccessibleEvent selection(changed, now.selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
            QAccessible::updateAccessibility(&selection);
        }
    }

    void Announce(const std::string& text) override { notice_.Show(FromCp1252(text)); }

private:
    const std::vector<PartAccessible*>& parts_;
    NoticeAccessible& notice_;
};

// The board widget. Its nodes are made, and the layer starts telling of changes, at the first
// request for a child: that is a screen reader walking into the board.
class BoardAccessible final : public QAccessibleWidget {
public:
    explicit BoardAccessible(BoardWidget* board) : QAccessibleWidget(board) {}

    // The layer belongs to the main window and dies before the board widget, whose interface
    // this is; so the layer never tells a deleted announcer of a change.
    ~BoardAccessible() override {
        for (QAccessible::Id id : ids_) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return kBoardGroupCount + 1; }

    QAccessibleInterface* child(int index) const override {
        const_cast<BoardAccessible*>(this)->MakeNodes();
        if (index >= 0 && index < static_cast<int>(groups_.size())) return groups_[static_cast<std::size_t>(index)];
        return index == kNoticeChild ? notice_ : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int index = 0; index < childCount(); ++index)
            if (this->child(index) == child) return index;
        return -1;
    }

    PartAccessible* Part(int part) const {
        const_cast<BoardAccessible*>(this)->MakeNodes();
        return parts_.empty() ? nullptr : parts_[static_cast<std::size_t>(part)];
    }

    GroupAccessible* Group(int group) const {
        const_cast<BoardAccessible*>(this)->MakeNodes();
        return groups_.empty() ? nullptr : groups_[static_cast<std::size_t>(group)];
    }

    BoardPart Describe(int part) const {
        GameWindow* layer = Layer();
        return layer ? layer->DescribeBoardPart(part) : BoardPart{};
    }

    // A rectangle with its outline, in screen coordinates.
    QRect ScreenRect(const CellRect& rect) const {
        return QRect(widget()->mapToGlobal(QPoint(rect.Left, rect.Top)),
                     QSize(rect.Right - rect.Left + 1, rect.Bottom - rect.Top + 1));
    }

    bool IsShown() const { return widget()->isVisible(); }

    // A click reaches the board through the event loop, and so does this one: the screen
    // reader's call returns before any message that the click opens.
    void Activate(int part) const {
        QWidget* board = widget();
        QMetaObject::invokeMethod(
            board,
            [board, part] {
                // While a modal window is up, a pointer release never reaches the board.
                if (QApplication::activeModalWidget()) return;
                auto* form = qobject_cast<TLumeraMainForm*>(board->window());
                if (!form) return;
                form->Window().ActivateBoardPart(part);
                form->Board().Flush();
            },
            Qt::QueuedConnection);
    }

private:
    GameWindow* Layer() const {
        auto* form = qobject_cast<TLumeraMainForm*>(widget()->window());
        return form ? &form->Window() : nullptr;
    }

    template <typename Node>
    Node* Register(Node* node) {
        ids_.push_back(QAccessible::registerAccessibleInterface(node));
        return node;
    }

    void MakeNodes() {
        if (!parts_.empty()) return;
        GameWindow* layer = Layer();
        if (!layer) return;
        parts_.reserve(kBoardPartCount);
        for (int part = 0; part < kBoardPartCount; ++part) parts_.push_back(Register(new PartAccessible(*this, part)));
        for (int group = 0; group < kBoardGroupCount; ++group) groups_.push_back(Register(new GroupAccessible(*this, group)));
        notice_ = Register(new NoticeAccessible(*this));
        announcer_ = std::make_unique<PartAnnouncer>(parts_, *notice_);
        layer->SetBoardObserver(announcer_.get());
    }

    // The nodes belong to Qt's accessibility cache once registered; this interface deletes them
    // when it goes.
    std::vector<PartAccessible*> parts_;
    std::vector<GroupAccessible*> groups_;
    NoticeAccessible* notice_ = nullptr;
    std::vector<QAccessible::Id> ids_;
    std::unique_ptr<PartAnnouncer> announcer_;
};

// ---- Nodes -----------------------------------------------------------------------------------

bool BoardNode::isValid() const { return board_.isValid(); }

QWindow* BoardNode::window() const { return board_.window(); }

QAccessibleInterface* PartAccessible::parent() const { return board_.Group(BoardGroupOf(part_)); }

QString PartAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) return FromCp1252(board_.Describe(part_).name);
    if (t == QAccessible::Description) return FromCp1252(board_.Describe(part_).description);
    return {};
}

QRect PartAccessible::rect() const { return board_.ScreenRect(board_.Describe(part_).rect); }

QAccessible::Role PartAccessible::role() const { return IsGridCell() ? QAccessible::Cell : QAccessible::Button; }

QAccessible::State PartAccessible::state() const {
    QAccessible::State state;
    state.invisible = !board_.IsShown();
    if (part_ < kAlphabetParts) {
        state.selectable = true;
        state.selected = state.pressed = board_.Describe(part_).selected;
    }
    return state;
}

void* PartAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    if (type == QAccessible::TableCellInterface && IsGridCell()) return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
}

void PartAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction()) board_.Activate(part_);
}

int PartAccessible::columnIndex() const { return board_.Describe(part_).column; }
int PartAccessible::rowIndex() const { return board_.Describe(part_).row; }

QAccessibleInterface* PartAccessible::table() const { return IsGridCell() ? parent() : nullptr; }

QAccessibleInterface* GroupAccessible::childAt(int x, int y) const {
    for (int index = 0; index < childCount(); ++index) {
        QAccessibleInterface* part = child(index);
        if (part && part->rect().contains(x, y)) return part;
    }
    return nullptr;
}

QAccessibleInterface* GroupAccessible::parent() const { return const_cast<BoardAccessible*>(&board_); }

QAccessibleInterface* GroupAccessible::child(int index) const {
    return index >= 0 && index < childCount() ? board_.Part(group_.firstPart + index) : nullptr;
}

int GroupAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int index = 0; index < childCount(); ++index)
        if (board_.Part(group_.firstPart + index) == child) return index;
    return -1;
}

QRect GroupAccessible::rect() const { return board_.ScreenRect(group_.rect); }

QAccessible::State GroupAccessible::state() const {
    QAccessible::State state;
    state.invisible = !board_.IsShown();
    return state;
}

QAccessibleInterface* GroupAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= group_.rows || column < 0 || column >= group_.columns) return nullptr;
    return child(row * group_.columns + column);
}

QAccessibleInterface* NoticeAccessible::parent() const { return const_cast<BoardAccessible*>(&board_); }

}  // namespace

QAccessibleInterface* BoardAccessibleFactory(const QString&, QObject* object) {
    auto* board = qobject_cast<BoardWidget*>(object);
    return board ? new BoardAccessible(board) : nullptr;
}

void InstallBoardAccessibility() { QAccessible::installFactory(&BoardAccessibleFactory); }

}  // namespace lumera
