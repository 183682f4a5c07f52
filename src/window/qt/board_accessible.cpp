// The board for screen readers on Qt. The board widget's interface has the parts of the window
// layer's board description as its children, in the order a sighted player reads them: the 26
// alphabet buttons, the status button beside them, then the grid, a table of 9 rows and 30
// columns whose children are its cells. Each part is named and described as the layer describes
// it and has one action, a click on its centre. From the first request for the parts on, the
// layer tells the bridge of every part that changed, and the bridge sends the matching events.
#include "window/qt/board_accessible.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <memory>
#include <vector>

#include "window/qt/mainform.h"
#include "window/qt/qt_ports.h"

namespace lumera {
namespace {

// The board's children after the 26 alphabet buttons.
constexpr int kStatusChild = kFirstGridPart;
constexpr int kGridChild = kFirstGridPart + 1;
constexpr int kBoardChildCount = kGridChild + 1;

class BoardAccessible;

// One part of the board: an alphabet button, the status button or a cell of the grid.
class PartAccessible final : public QAccessibleInterface,
                             public QAccessibleActionInterface,
                             public QAccessibleTableCellInterface {
public:
    PartAccessible(BoardAccessible& board, int part) : board_(board), part_(part) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
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
    int columnIndex() const override { return (part_ - kFirstGridPart) % kGridColumns; }
    int rowIndex() const override { return (part_ - kFirstGridPart) / kGridColumns; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    bool IsGridCell() const { return part_ >= kFirstGridPart && part_ < kStatusPart; }

    BoardAccessible& board_;
    const int part_;
};

// The grid: a table whose children are its 270 cells, row by row.
class GridAccessible final : public QAccessibleInterface, public QAccessibleTableInterface {
public:
    explicit GridAccessible(BoardAccessible& board) : board_(board) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override { return kGridCells; }
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text) const override { return {}; }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
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
    int columnCount() const override { return kGridColumns; }
    int rowCount() const override { return kGridRows; }
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
    BoardAccessible& board_;
};

// Tells screen readers of each part that changed, with what changed in it.
class PartAnnouncer final : public IBoardObserver {
public:
    explicit PartAnnouncer(const std::vector<PartAccessible*>& parts) : parts_(parts) {}

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

private:
    const std::vector<PartAccessible*>& parts_;
};

// The board widget. Its parts are made, and the layer starts telling of changes, at the first
// request for a child: that is a screen reader walking into the board.
class BoardAccessible final : public QAccessibleWidget {
public:
    explicit BoardAccessible(BoardWidget* board) : QAccessibleWidget(board) {}

    // The layer belongs to the main window and dies before the board widget, whose interface
    // this is; so the layer never tells a deleted announcer of a change.
    ~BoardAccessible() override {
        for (QAccessible::Id id : ids_) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return kBoardChildCount; }

    QAccessibleInterface* child(int index) const override {
        if (index >= 0 && index < kFirstGridPart) return Part(index);
        if (index == kStatusChild) return Part(kStatusPart);
        if (index == kGridChild) return Grid();
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int index = 0; index < kBoardChildCount; ++index)
            if (this->child(index) == child) return index;
        return -1;
    }

    PartAccessible* Part(int part) const {
        const_cast<BoardAccessible*>(this)->MakeParts();
        return parts_.empty() ? nullptr : parts_[static_cast<std::size_t>(part)];
    }

    GridAccessible* Grid() const {
        const_cast<BoardAccessible*>(this)->MakeParts();
        return grid_;
    }

    BoardPart Describe(int part) const {
        GameWindow* layer = Layer();
        return layer ? layer->DescribeBoardPart(part) : BoardPart{};
    }

    // A cell's rectangle with its outline, in screen coordinates.
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

    void MakeParts() {
        if (!parts_.empty()) return;
        GameWindow* layer = Layer();
        if (!layer) return;
        parts_.reserve(kBoardPartCount);
        for (int part = 0; part < kBoardPartCount; ++part) {
            parts_.push_back(new PartAccessible(*this, part));
            ids_.push_back(QAccessible::registerAccessibleInterface(parts_.back()));
        }
        grid_ = new GridAccessible(*this);
        ids_.push_back(QAccessible::registerAccessibleInterface(grid_));
        announcer_ = std::make_unique<PartAnnouncer>(parts_);
        layer->SetBoardObserver(announcer_.get());
    }

    // The parts' interfaces belong to Qt's accessibility cache once registered; this interface
    // deletes them when it goes.
    std::vector<PartAccessible*> parts_;
    GridAccessible* grid_ = nullptr;
    std::vector<QAccessible::Id> ids_;
    std::unique_ptr<PartAnnouncer> announcer_;
};

// ---- Parts -----------------------------------------------------------------------------------

bool PartAccessible::isValid() const { return board_.isValid(); }

QWindow* PartAccessible::window() const { return board_.window(); }

QAccessibleInterface* PartAccessible::parent() const {
    return IsGridCell() ? static_cast<QAccessibleInterface*>(board_.Grid()) : &board_;
}

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
    if (part_ < kFirstGridPart) {
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

QAccessibleInterface* PartAccessible::table() const { return IsGridCell() ? board_.Grid() : nullptr; }

// ---- The grid --------------------------------------------------------------------------------

bool GridAccessible::isValid() const { return board_.isValid(); }

QWindow* GridAccessible::window() const { return board_.window(); }

QAccessibleInterface* GridAccessible::childAt(int x, int y) const {
    for (int index = 0; index < kGridCells; ++index) {
        QAccessibleInterface* cell = child(index);
        if (cell && cell->rect().contains(x, y)) return cell;
    }
    return nullptr;
}

QAccessibleInterface* GridAccessible::parent() const { return &board_; }

QAccessibleInterface* GridAccessible::child(int index) const {
    return index >= 0 && index < kGridCells ? board_.Part(kFirstGridPart + index) : nullptr;
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int index = 0; index < kGridCells; ++index)
        if (board_.Part(kFirstGridPart + index) == child) return index;
    return -1;
}

QRect GridAccessible::rect() const {
    const CellRect first = PuzzleCellRect(1);
    const CellRect last = PuzzleCellRect(kGridCells);
    return board_.ScreenRect(CellRect{first.Left, first.Top, last.Right, last.Bottom});
}

QAccessible::State GridAccessible::state() const {
    QAccessible::State state;
    state.invisible = !board_.IsShown();
    return state;
}

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= kGridRows || column < 0 || column >= kGridColumns) return nullptr;
    return child(row * kGridColumns + column);
}

}  // namespace

QAccessibleInterface* BoardAccessibleFactory(const QString&, QObject* object) {
    auto* board = qobject_cast<BoardWidget*>(object);
    return board ? new BoardAccessible(board) : nullptr;
}

void InstallBoardAccessibility() { QAccessible::installFactory(&BoardAccessibleFactory); }

}  // namespace lumera
