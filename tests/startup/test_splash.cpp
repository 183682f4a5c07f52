// Tests of the splash and about window: its two modes, what clicks do, and how the start-up
// splash and the about window show, close and release it.
#include "startup/qt/splash1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include "util/my_utils.h"
#include "util/publisher.h"

namespace lumera {
namespace {

const QPoint kWebAddress(140, 118), kTitle(140, 45), kEdition(140, 80), kPicture(20, 130), kCross(265, 13);

// A left click at a point of the window, delivered to the part that lies on top there.
void ClickAt(QWidget* window, QPoint at) {
    QWidget* target = window->childAt(at);
    const QPoint local = target->mapFrom(window, at);
    QMouseEvent press(QEvent::MouseButtonPress, local, target->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, local, target->mapToGlobal(local), Qt::LeftButton, {}, {});
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

void ReleaseDeferred() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

template <typename Widget = QLabel>
Widget* Part(const QWidget& form, const char* name) {
    return form.findChild<Widget*>(name);
}

class Splash : public ::testing::Test {
protected:
    void SetUp() override {
        SplashModeBase = 2;
        SetShellOpenHook([this](const std::string& document) { opened.push_back(document); });
    }
    void TearDown() override { SetShellOpenHook({}); }

    // Shows the about window and runs `whileShown` on it from its modal loop.
    void ShowAbout(QWidget* mainForm, const std::function<void(TsplashForm&)>& whileShown) {
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TsplashForm*>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            whileShown(*form);
            EXPECT_FALSE(form->isVisible()) << "the about window was clicked away";
            form->close();
        });
        ShowAboutWindow(mainForm);
    }

    QWidget mainForm;
    std::vector<std::string> opened;
};

TEST_F(Splash, PartsSitWhereDesignedAndOnlyTheAboutWindowHasTheCross) {
    for (int mode : {2, 5}) {
        TsplashForm form(&mainForm, mode);
        form.show();
        EXPECT_EQ(form.size(), QSize(280, 140));
        EXPECT_TRUE(form.windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
        EXPECT_EQ(Part(form, "Image1")->geometry(), QRect(0, 0, 280, 140));
        auto* cross = Part<QToolButton>(form, "btnClose");
        EXPECT_EQ(cross->geometry(), QRect(258, 6, 16, 16));
        EXPECT_EQ(cross->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(cross->isVisible(), mode == 5);
        EXPECT_TRUE(cross->font().bold());
        QLabel* edition = Part(form, "lblEval");
        EXPECT_EQ(edition->geometry(), QRect(8, 72, 265, 22));
        EXPECT_EQ(edition->text(), "Freeware Edition");
        EXPECT_EQ(edition->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        EXPECT_EQ(edition->font().pixelSize(), 13);
        EXPECT_TRUE(edition->wordWrap());
        EXPECT_EQ(Part(form, "Label1")->geometry(), QRect(8, 32, 265, 33));
        EXPECT_EQ(Part(form, "Label1")->text(), "Lumera 8.0");
        QLabel* address = Part(form, "Label3");
        EXPECT_EQ(address->geometry(), QRect(66, 112, 149, 13));
        EXPECT_TRUE(address->text().contains(kPublisherSite));
        EXPECT_EQ(address->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        EXPECT_TRUE(address->font().underline());
        EXPECT_EQ(address->cursor().shape() == Qt::PointingHandCursor, mode == 5);
    }
}

TEST_F(Splash, ClicksOnTheTextsCloseNothingButThePictureAndTheCrossDo) {
    TsplashForm splash(&mainForm, 2), about(&mainForm, 5);
    for (TsplashForm* form : {&splash, &about}) {
        form->show();
        for (QPoint text : {kTitle, kEdition, kWebAddress}) ClickAt(form, text);
        EXPECT_TRUE(form->isVisible());
        ClickAt(form, kPicture);
        EXPECT_FALSE(form->isVisible());
    }
    EXPECT_EQ(opened, std::vector<std::string> {kHomePageUrl}) << "only the about window's address opens";
    about.show();
    ClickAt(&about, kCross);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(Splash, StartupSplashIsCentredOnTheScreenAndTheTickRemovesItEvenWhenClickedAway) {
    for (bool clickedAway : {false, true}) {
        ShowStartupSplash(&mainForm);
        const QPointer<TsplashForm> shown = splashForm;
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->SplashMode, 2);
        EXPECT_TRUE(shown->isVisible());
        EXPECT_FALSE(shown->isModal());
        EXPECT_EQ(shown->frameGeometry().center(), mainForm.screen()->geometry().center());
        if (clickedAway) ClickAt(shown, kPicture);
        SplashTimer1Timer();
        ASSERT_TRUE(shown) << "released only once back in the event loop";
        EXPECT_FALSE(shown->isVisible());
        ReleaseDeferred();
        EXPECT_FALSE(shown);
    }
}

TEST_F(Splash, AboutWindowIsModalOverTheMainWindowAndReleasedEachTime) {
    mainForm.setGeometry(100, 100, 500, 400);
    mainForm.show();
    for (int time = 0; time < 3; ++time) {
        QPointer<TsplashForm> about;
        ShowAbout(&mainForm, [&](TsplashForm& form) {
            about = &form;
            EXPECT_EQ(splashForm, &form);
            EXPECT_EQ(form.SplashMode, 5);
            EXPECT_EQ(form.frameGeometry().center(), mainForm.frameGeometry().center());
            ClickAt(&form, kWebAddress);
            EXPECT_TRUE(form.isVisible());
            ClickAt(&form, kPicture);
        });
        ASSERT_TRUE(about);
        ReleaseDeferred();
        EXPECT_FALSE(about);
    }
    EXPECT_EQ(opened.size(), 3u);
}

TEST_F(Splash, AboutWhileTheSplashIsUpLeavesTheSplashUntilClickedOrTheMainWindowGoes) {
    auto owner = std::make_unique<QWidget>();
    ShowStartupSplash(owner.get());
    const QPointer<TsplashForm> startup = splashForm;
    ShowAbout(owner.get(), [&](TsplashForm& about) {
        EXPECT_EQ(splashForm, &about);
        EXPECT_TRUE(startup->isVisible());
        Part<QToolButton>(about, "btnClose")->click();
    });
    ReleaseDeferred();
    ASSERT_TRUE(startup);
    EXPECT_TRUE(startup->isVisible());
    ClickAt(startup, kPicture);
    EXPECT_FALSE(startup->isVisible());
    owner.reset();
    EXPECT_FALSE(startup);
}

}  // namespace
}  // namespace lumera
