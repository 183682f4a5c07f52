// The donation dialog on a desktop whose window manager frames the windows with title bars:
// wherever the main window stands, and whether opened from the menu or on closing, the
// dialog's frame is centred on the main window's frame.
#include "donate/qt/donate1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdlib>
#include <xcb/xcb.h>

#include "../util/temp_store.h"
#include "util/my_utils.h"

namespace lumera {
namespace {

// Runs events until `done` holds; false when it still does not after `ms` milliseconds.
bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void Settle() {
    WaitFor([] { return false; }, 300);
}

// The window's frame as the X server has it: the window the desktop put it in, on the root.
// (Qt's own idea of a frame can be taken while the desktop is still building it.)
QRect FrameOnScreen(const QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) return {};
    xcb_connection_t* connection = x11->connection();
    xcb_window_t frame = static_cast<xcb_window_t>(window.winId());
    for (;;) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, frame), nullptr);
        if (!tree) return {};
        const bool onRoot = tree->parent == tree->root;
        if (!onRoot) frame = tree->parent;
        std::free(tree);
        if (onRoot) break;
    }
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, frame), nullptr);
    if (!geometry) return {};
    const QRect rect(geometry->x, geometry->y, geometry->width + 2 * geometry->border_width,
                     geometry->height + 2 * geometry->border_width);
    std::free(geometry);
    return rect;
}

// Whether the desktop has framed the window: its frame is larger than its client area.
bool Framed(const QWidget& window) {
    const QRect frame = FrameOnScreen(window);
    return frame.width() > window.width() && frame.height() > window.height();
}

class DonationDialogOnDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        ConfigureDonation(&temp.Port(), [] { return 46100; }, "lumera8");
        SetShellOpenHook([](const std::string&) {});
        owner.setWindowTitle("Lumera 8.0 by lumera.example - [Lumera8.dat]");
        owner.menuBar()->addMenu("&Game");
        owner.setCentralWidget(new QWidget);
        owner.resize(606, 287);
        owner.show();
        if (!WaitFor([this] { return Framed(owner); }, 10000)) GTEST_SKIP() << "no window manager frames the windows";
    }
    void TearDown() override { SetShellOpenHook({}); }

    void PlaceOwner(QPoint frameTopLeft) {
        owner.move(frameTopLeft);
        WaitFor([&] { return FrameOnScreen(owner).topLeft() == frameTopLeft; });
        Settle();
    }

    // Runs `show`; the dialog that comes up is left with "Not now" once the desktop has framed
    // it and its frame's centre has come to `ownerCentre` (a slow desktop gets a few seconds for
    // the dialog's last move). Returns the centre of its frame then.
    QPoint DialogCentre(QPoint ownerCentre, const std::function<void()>& show) {
        QPoint centre(-1, -1);
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TDonateForm*>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            EXPECT_TRUE(WaitFor([form] { return form->isVisible() && Framed(*form); }));
            WaitFor(
                [&] {
                    centre = FrameOnScreen(*form).center();
                    return (centre - ownerCentre).manhattanLength() <= 1;
                },
                3000);
            Settle();  // and it stays there
            centre = FrameOnScreen(*form).center();
            form->findChild<QRadioButton*>("rgDonateItem4")->click();
            form->findChild<QPushButton*>("ntmOK")->click();
        });
        show();
        return centre;
    }

    testing::TempStore temp;
    QMainWindow owner;
    QtDonateDialog donateDialog{&owner};
};

TEST_F(DonationDialogOnDesktop, IsCentredOnTheMainWindowFromTheMenuAndOnClosing) {
    for (QPoint place : {QPoint(173, 137), QPoint(420, 380), QPoint(30, 500)}) {
        PlaceOwner(place);
        const QPoint ownerCentre = FrameOnScreen(owner).center();
        const QPoint fromMenu = DialogCentre(ownerCentre, [this] { ShowDonationDialog(donateDialog); });
        EXPECT_LE((fromMenu - ownerCentre).manhattanLength(), 1)
            << "from the menu, main window at " << place.x() << "," << place.y() << ": dialog centre " << fromMenu.x()
            << "," << fromMenu.y() << ", main window centre " << ownerCentre.x() << "," << ownerCentre.y();
        // Answer 4 of a day before asks again on closing today.
        temp.Store().WriteDword(testing::kDonateKey, "DonateStatus", 4);
        temp.Store().WriteDword(testing::kDonateKey, "DonateLastPrompt", 46000);
        LoadDonationState();
        const QPoint onClosing = DialogCentre(ownerCentre, [this] { CheckDonationReminder(donateDialog); });
        EXPECT_LE((onClosing - ownerCentre).manhattanLength(), 1)
            << "on closing, main window at " << place.x() << "," << place.y() << ": dialog centre " << onClosing.x()
            << "," << onClosing.y() << ", main window centre " << ownerCentre.x() << "," << ownerCentre.y();
    }
}

}  // namespace
}  // namespace lumera
