// A main window with recording fakes for dialogs, sound and random, and its own store file.
#pragma once

#include <QImage>
#include <memory>

#include "../engine/fakes.h"
#include "window/qt/mainform.h"

namespace lumera::testing {

struct WindowRig {
    TempDir dir;
    FakeDialogs dialogs;
    FakeSound sound;
    SequenceRandom random;
    FakeClock clock;
    std::unique_ptr<TLumeraMainForm> form;
    std::filesystem::path previousFolder = std::filesystem::current_path();

    // The game finds its puzzle file by relative name, so the rig works in its own folder.
    explicit WindowRig(const std::string& puzzles = "HELLO WORLD - SOMEONE\nSECOND LINE\nTHIRD LINE\n") {
        dir.Write("Lumera8.dat", puzzles);
        std::filesystem::current_path(dir.path);
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((dir.path / "config").string()));
        Start();
    }
    std::filesystem::path StoreFile() const { return dir.path / "config" / "lumera8" / "registry.reg"; }
    void Start() {
        MainFormServices services;
        services.dialogs = &dialogs;
        services.sound = &sound;
        services.random = &random;
        services.clock = &clock;
        services.storeFile = StoreFile();
        services.showSplash = false;
        services.donationReminder = false;
        form = std::make_unique<TLumeraMainForm>(services);
    }
    ~WindowRig() {
        form.reset();
        std::filesystem::current_path(previousFolder);
    }
    LumeraGame& Game() { return form->Game(); }
    QImage Screen() { return form->Board().grab().toImage(); }
    void Click(int x, int y) { form->FormMouseUp(Qt::LeftButton, Qt::NoModifier, x, y); }
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

}  // namespace lumera::testing
