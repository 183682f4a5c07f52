// A main window with recording fakes for dialogs (or Qt's own), sound and random, and its own
// store file.
#pragma once

#include <QImage>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "../util/temp_store.h"
#include "window/qt/mainform.h"
#include "window/qt/qt_ports.h"

namespace lumera::testing {

struct WindowRig {
    // With Qt's own dialogs, the test answers them and starts the window itself.
    enum class Dialogs { Fake, Real };

    TempStore temp;
    TempDir& dir = temp.dir;
    FakeDialogs dialogs;
    FakeSound sound;
    SequenceRandom random;
    FakeClock clock;
    util::RegistryStore& store = temp.store;
    StoreSettingsPort& storePort = temp.port;
    std::unique_ptr<TLumeraMainForm> form;
    Dialogs dialogsKind;

    explicit WindowRig(const std::string& puzzles = "HELLO WORLD - SOMEONE\nSECOND LINE\nTHIRD LINE\n",
                       Dialogs kind = Dialogs::Fake)
        : dialogsKind(kind) {
        temp.EnterWithPuzzles(puzzles);
        if (dialogsKind == Dialogs::Fake) Start();
    }
    std::filesystem::path StoreFile() const { return temp.StoreFile(); }
    void Start() {
        MainFormServices services;
        if (dialogsKind == Dialogs::Fake) services.dialogs = &dialogs;
        services.sound = &sound;
        services.random = &random;
        services.clock = &clock;
        services.store = &storePort;
        form = std::make_unique<TLumeraMainForm>(services);
    }
    ~WindowRig() { form.reset(); }
    LumeraGame& Game() { return form->Game(); }
    QImage Screen() { return form->Board().grab().toImage(); }
    void Click(int x, int y) { form->FormMouseUp(x, y); }
    void ClickAlphabet(char letter) {
        const CellRect r = AlphabetCellRect(letter - 'A' + 1);
        Click(r.Left + 5, r.Top + 5);
    }
    void ClickCell(int n) {
        const CellRect r = PuzzleCellRect(n);
        Click(r.Left + 5, r.Top + 5);
    }
};

inline QRgb Rgb(Colour colour) { return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

// The widths, in device pixels, of the vertical stems of the letter drawn in a cell: a run of
// black pixels along a row that stands at the same columns in `stemRows` rows running is part
// of a stem (the sloping strokes of V or N move from row to row and are not counted).
inline std::set<int> StemWidths(const QImage& image, const CellRect& cell, int scale, int stemRows) {
    std::set<int> widths;
    std::map<std::pair<int, int>, int> above;  // run (first column, width) -> rows it has stood
    for (int y = (cell.Top + 1) * scale; y < cell.Bottom * scale; ++y) {
        std::map<std::pair<int, int>, int> here;
        for (int x = (cell.Left + 1) * scale; x < cell.Right * scale;) {
            if (image.pixel(x, y) != qRgb(0, 0, 0)) {
                ++x;
                continue;
            }
            const int first = x;
            while (x < cell.Right * scale && image.pixel(x, y) == qRgb(0, 0, 0)) ++x;
            const std::pair<int, int> run(first, x - first);
            const auto standing = above.find(run);
            const int rows = here[run] = standing == above.end() ? 1 : standing->second + 1;
            if (rows >= stemRows) widths.insert(run.second);
        }
        above = std::move(here);
    }
    return widths;
}

// Each letter of the alphabet strip whose stems could be measured, with their widths ("H:1,2").
inline std::string AlphabetStems(const QImage& image, int scale, int stemRows, std::set<char>* measured = nullptr) {
    std::string out;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::set<int> widths = StemWidths(image, AlphabetCellRect(letter - 'A' + 1), scale, stemRows);
        if (widths.empty()) continue;
        if (measured) measured->insert(letter);
        out += out.empty() ? "" : " ";
        out += letter;
        for (int w : widths) out += (out.back() == letter ? ":" : ",") + std::to_string(w);
    }
    return out;
}

}  // namespace lumera::testing
