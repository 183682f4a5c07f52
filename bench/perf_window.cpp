// Times the real game window on the current platform plugin: a full repaint of the board (and
// FormPaint alone, into the board's image), and a pointer release over a grid cell until the
// exchange's last cell redraw is on the window. Dialogs and sound are the engine tests' fakes,
// so that nothing modal can stop the run; the store is a scratch file. Runs in a folder that
// holds Lumera8.dat, and plays its longest puzzle.
#include <QAction>
#include <fstream>

#include "engine/fakes.h"
#include "engine/random_source.h"
#include "perf_measure.h"
#include "window/qt/application.h"
#include "util/registry_store.h"
#include "util/store_settings_port.h"
#include "window/qt/mainform.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

// 1-based number of the longest line of the puzzle file in the current folder.
int LongestPuzzle() {
    std::ifstream in("Lumera8.dat", std::ios::binary);
    int number = 0, best = 1;
    std::size_t bestLength = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.size() > bestLength) bestLength = line.size(), best = number;
    }
    return best;
}

// A point inside grid cell n.
QPoint CellPoint(int n) {
    const CellRect r = PuzzleCellRect(n);
    return QPoint(r.Left + 5, r.Top + 5);
}

QPoint AlphabetPoint(char letter) {
    const CellRect r = AlphabetCellRect(letter - 'A' + 1);
    return QPoint(r.Left + 5, r.Top + 5);
}

std::string Exchanged(std::string text, char a, char b) {
    for (char& c : text) c = c == a ? b : c == b ? a : c;
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    LumeraApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    TempDir dir;
    FakeDialogs dialogs;
    FakeSound sound;
    StdRandom random;
    FakeClock clock;  // a fixed seed: the same deal on every run
    MainFormServices services;
    services.dialogs = &dialogs;
    services.sound = &sound;
    services.random = &random;
    services.clock = &clock;
    util::RegistryStore store(dir.path / "registry.reg");
    StoreSettingsPort storePort(store);
    services.store = &storePort;
    TLumeraMainForm form(services);
    BoardWidget& board = form.Board();
    LumeraGame& game = form.Game();

    dialogs.inputAnswers = {std::to_string(LongestPuzzle())};
    form.findChild<QAction*>("menuSpecifyStart")->trigger();

    bool painted = false;
    QObject::connect(&board, &BoardWidget::Painted, [&] { painted = true; });
    form.show();
    if (!perf::WaitFor([&] { return painted; })) {
        std::fprintf(stderr, "the board was never painted\n");
        return 2;
    }
    perf::Settle(200);
    const std::string ratio = "device_ratio=" + std::to_string(board.devicePixelRatioF());

    perf::Samples repaints;
    for (int i = 0; i < 520; ++i) {
        const double start = perf::NowUs();
        form.Window().FullRepaint();
        if (i >= 20) repaints.Add(perf::NowUs() - start);
        QApplication::processEvents();
    }
    repaints.Print("full_repaint", ratio);

    perf::Samples formPaints;
    for (int i = 0; i < 520; ++i) {
        const double start = perf::NowUs();
        form.Window().FormPaint();
        if (i >= 20) formPaints.Add(perf::NowUs() - start);
    }
    board.Flush();
    formPaints.Print("form_paint", ratio);

    // The exchange of the puzzle's two most frequent letters, back and forth: select one
    // (untimed), then release over a cell of the other.
    int counts[26] = {};
    for (char c : game.Working.substr(0, game.PuzzleLen))
        if (IsLetter(c)) ++counts[c - 'A'];
    int first = 0, second = 1;
    for (int i = 0; i < 26; ++i) {
        if (counts[i] > counts[first]) second = first, first = i;
        else if (i != first && counts[i] > counts[second]) second = i;
    }
    const char a = static_cast<char>('A' + first), b = static_cast<char>('A' + second);
    const std::string start = game.Working;
    if (Exchanged(start, a, b).compare(0, game.PuzzleLen, game.Solution, 0, game.PuzzleLen) == 0) {
        std::fprintf(stderr, "the measured exchange would finish the puzzle\n");
        return 2;
    }
    const int cell = static_cast<int>(start.find(b)) + 1;
    const int cellsRedrawn = counts[first] + counts[second];
    perf::Samples releases;
    for (int i = 0; i < 320; ++i) {
        const char selected = game.Working[cell - 1] == b ? a : b;
        form.FormMouseUp(AlphabetPoint(selected).x(), AlphabetPoint(selected).y());
        QApplication::processEvents();
        const int drawsBefore = board.CellDrawCount();
        const double begin = perf::NowUs();
        perf::SendRelease(&board, CellPoint(cell));
        const double end = perf::NowUs();
        if (board.CellDrawCount() - drawsBefore != cellsRedrawn || game.Solved) {
            std::fprintf(stderr, "the release did not exchange %c and %c\n", a, b);
            return 2;
        }
        if (i >= 20) releases.Add(end - begin);
        QApplication::processEvents();
    }
    releases.Print("release_to_redraw", ratio + " cells_redrawn=" + std::to_string(cellsRedrawn) +
                                            " puzzle_length=" + std::to_string(game.PuzzleLen));

    // The same exchange in its two halves: the engine with the cell redraws into the image,
    // and putting the redrawn cells on the window.
    perf::Samples exchanges, flushes;
    for (int i = 0; i < 320; ++i) {
        const char selected = game.Working[cell - 1] == b ? a : b;
        form.FormMouseUp(AlphabetPoint(selected).x(), AlphabetPoint(selected).y());
        QApplication::processEvents();
        const double begin = perf::NowUs();
        game.PuzzleCellClick(cell);
        const double drawn = perf::NowUs();
        board.Flush();
        const double end = perf::NowUs();
        if (i >= 20) exchanges.Add(drawn - begin), flushes.Add(end - drawn);
        QApplication::processEvents();
    }
    exchanges.Print("exchange_into_image", ratio);
    flushes.Print("exchange_to_window", ratio);
    return 0;
}
