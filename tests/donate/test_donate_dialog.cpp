// Tests of the donation reminder with its real dialog: runs of the program on a fake clock
// answered through the modal dialog, and the dialog's parts, colours and keys.
#include "donate/qt/donate1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWindow>

#include "../util/temp_store.h"
#include "util/my_utils.h"
#include "util/publisher.h"

namespace lumera {
namespace {

enum class Ending { Proceed, CloseBox };

void Click(QWidget* widget, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, {}, {});
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

template <typename Widget = QLabel>
Widget* Part(const QWidget& form, const char* name) {
    return form.findChild<Widget*>(name);
}

QRadioButton* AnswerItem(const QWidget& form, int index) {
    return form.findChild<QRadioButton*>(QString("rgDonateItem%1").arg(index));
}

class DonationReminder : public ::testing::Test {
protected:
    void SetUp() override {
        ConfigureDonation(&temp.Port(), [this] { return today; }, "/opt/games/lumera8");
        SetShellOpenHook([this](const std::string& document) { opened.push_back(document); });
        owner.resize(600, 400);
        owner.show();
    }
    void TearDown() override { SetShellOpenHook({}); }

    // Runs `action`; a donation dialog that comes up meanwhile is answered with `answer`.
    // Returns how many dialogs came up.
    int Answering(int answer, Ending ending, const std::function<void()>& action) {
        int shown = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* form = qobject_cast<TDonateForm*>(QApplication::activeModalWidget());
            if (!form) return;
            ++shown;
            AnswerItem(*form, answer)->click();
            if (ending == Ending::Proceed)
                Part<QPushButton>(*form, "ntmOK")->click();
            else
                form->windowHandle()->close();
        });
        timer.start(0);
        action();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(owner.findChildren<TDonateForm*>().isEmpty()) << "the dialog is released";
        return shown;
    }

    // One run of the program that ends by closing the main window on `day`.
    int RunClosingOn(int day, int answer = 4, Ending ending = Ending::Proceed) {
        today = day;
        LoadDonationState();
        const int shown = Answering(answer, ending, [this] { CheckDonationReminder(donateDialog); });
        SaveDonationState();
        return shown;
    }

    void StoreState(int choice, int lastPrompt) {
        temp.Store().WriteDword(testing::kDonateKey, "DonateStatus", static_cast<std::uint32_t>(choice));
        temp.Store().WriteDword(testing::kDonateKey, "DonateLastPrompt", static_cast<std::uint32_t>(lastPrompt));
    }

    testing::TempStore temp;
    int today = 46000;
    std::vector<std::string> opened;
    QWidget owner;
    QtDonateDialog donateDialog{&owner};
};

TEST_F(DonationReminder, FirstOfferComesOnTheSeventhDayAfterTheFirstRun) {
    for (int day = 46000; day <= 46006; ++day) EXPECT_EQ(RunClosingOn(day), 0) << day;
    EXPECT_EQ(RunClosingOn(46007), 1);
}

struct AnswerRow {
    int answer;
    Ending ending;
    std::vector<int> quietDaysAfter;  // days after the answer with no offer on closing
    int nextOfferAfter;               // the first day after the answer with an offer; -1: never
};

TEST_F(DonationReminder, EachAnswerSetsWhenTheNextOfferComes) {
    const AnswerRow rows[] = {
        {0, Ending::CloseBox, {}, 0},           {1, Ending::Proceed, {0, 13}, 14}, {2, Ending::Proceed, {0, 1, 5000}, -1},
        {3, Ending::CloseBox, {0, 1, 5000}, -1}, {4, Ending::Proceed, {0}, 1},
    };
    for (const AnswerRow& row : rows) {
        SCOPED_TRACE(row.answer);
        const int answerDay = 46100;
        StoreState(0, 45000);
        opened.clear();
        ASSERT_EQ(RunClosingOn(answerDay, row.answer, row.ending), 1);
        EXPECT_EQ(opened, row.answer == 0 ? std::vector<std::string> {kDonationPageUrl} : std::vector<std::string> {});
        EXPECT_EQ(CurrentDonationState().DonateChoice, row.answer);
        EXPECT_EQ(CurrentDonationState().LastPromptDate, answerDay);
        for (int quiet : row.quietDaysAfter) EXPECT_EQ(RunClosingOn(answerDay + quiet), 0) << "day +" << quiet;
        if (row.nextOfferAfter >= 0) {
            EXPECT_EQ(RunClosingOn(answerDay + row.nextOfferAfter), 1);
        }
    }
}

TEST_F(DonationReminder, TheMenuSuppressesTheOfferOnCloseAndItsAnswerReplacesTheState) {
    StoreState(3, 45000);
    today = 46200;
    LoadDonationState();
    EXPECT_EQ(Answering(2, Ending::Proceed, [this] { ShowDonationDialog(donateDialog); }), 1);
    EXPECT_EQ(CurrentDonationState().LastPromptDate, 45000) << "answer 2 from the menu keeps the date";
    EXPECT_EQ(Answering(4, Ending::Proceed, [this] { ShowDonationDialog(donateDialog); }), 1);
    EXPECT_EQ(CurrentDonationState().LastPromptDate, 46200) << "answer 4 from the menu restarts the wait";
    EXPECT_EQ(Answering(0, Ending::Proceed, [this] { CheckDonationReminder(donateDialog); }), 0);
    SaveDonationState();

    EXPECT_EQ(RunClosingOn(46200), 0);
    EXPECT_EQ(RunClosingOn(46201), 1);
}

TEST_F(DonationReminder, ADateAheadAfterTheClockWasSetBackDelaysTheWait) {
    StoreState(1, 46500);
    EXPECT_EQ(RunClosingOn(46400), 0);
    EXPECT_EQ(RunClosingOn(46513), 0);
    EXPECT_EQ(RunClosingOn(46514, 0), 1);
    StoreState(0, 46900);
    EXPECT_EQ(RunClosingOn(46400, 0), 1) << "answer 0 offers whatever the date";
}

TEST_F(DonationReminder, DialogPartsLookAsDesigned) {
    owner.setGeometry(50, 60, 700, 600);
    TDonateForm form(&owner);
    form.show();
    EXPECT_LE((form.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2) << "centred";
    EXPECT_EQ(form.windowTitle(), "Make a Donation");
    EXPECT_EQ(form.size(), QSize(366, 473));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(Part(form, "Image1")->geometry(), QRect(8, 8, 350, 135));
    EXPECT_EQ(Part<QGroupBox>(form, "rgDonate")->geometry(), QRect(8, 152, 350, 145));
    EXPECT_EQ(Part<QPushButton>(form, "ntmOK")->geometry(), QRect(224, 432, 133, 33));
    EXPECT_EQ(Part<QWidget>(form, "Panel1")->geometry(), QRect(8, 304, 350, 121));
    EXPECT_EQ(Part(form, "Label1")->geometry(), QRect(8, 8, 337, 41));
    EXPECT_EQ(Part(form, "Label2")->geometry(), QRect(8, 56, 337, 41));
    EXPECT_EQ(Part(form, "lblHomePage")->geometry(), QRect(98, 104, 149, 13));

    const char* const answers[] = {
        "Yes, take me to the donations page now!",
        "I still have to check it a bit more, show this again in two weeks",
        "I already made a donation, don't show this dialog again",
        "No, I don't want to donate, never show this dialog again",
        "Not now, notify me again in 1 day",
    };
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(AnswerItem(form, static_cast<int>(i))->text(), answers[i]);
    EXPECT_EQ(form.Selected(), 0);
    EXPECT_EQ(Part<QPushButton>(form, "ntmOK")->text(), "Proceed");
    EXPECT_FALSE(Part<QPushButton>(form, "ntmOK")->isDefault());
    EXPECT_FALSE(Part<QPushButton>(form, "ntmOK")->autoDefault());
    EXPECT_EQ(AnswerItem(form, 0)->nextInFocusChain(), Part<QPushButton>(form, "ntmOK")) << "the group is one tab stop";
    EXPECT_EQ(Part(form, "Label1")->text(), QString("Donations help offset the cost of running ") + kPublisherSite +
                                       " and allow you to say \"thank you for a job well done\". ");
    EXPECT_EQ(Part(form, "Label2")->text(),
              "Donating is completely optional, and the amount you give is entirely up to you.  Thank you.");
    EXPECT_TRUE(Part(form, "lblHomePage")->text().contains(kPublisherSite));
    EXPECT_TRUE(Part(form, "lblHomePage")->font().underline());
    EXPECT_EQ(Part(form, "lblHomePage")->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    const QImage image = form.grab().toImage();
    EXPECT_EQ(image.pixelColor(362, 300), QColor(192, 220, 192)) << "money-green background";
    EXPECT_EQ(image.pixelColor(11, 354), QColor(255, 251, 240)) << "cream panel";
    EXPECT_EQ(image.pixelColor(8, 304), QColor(255, 255, 255)) << "raised outer bevel, top left";
    EXPECT_EQ(image.pixelColor(357, 424), QColor(128, 128, 128)) << "raised outer bevel, bottom right";
    EXPECT_EQ(image.pixelColor(9, 305), QColor(128, 128, 128)) << "lowered inner bevel, top left";
    EXPECT_EQ(image.pixelColor(356, 423), QColor(255, 255, 255)) << "lowered inner bevel, bottom right";
    EXPECT_EQ(image.pixelColor(8 + 345, 152 + 70), QColor(255, 251, 240)) << "cream radio group";
    Click(Part(form, "lblHomePage"), QPoint(70, 6));
    EXPECT_EQ(opened, std::vector<std::string> {kHomePageUrl});
    EXPECT_TRUE(form.isVisible());
}

TEST_F(DonationReminder, EveryLabelShowsItsTextAsItStands) {
    TDonateForm form(&owner);
    int texts = 0;
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) continue;  // the picture
        ++texts;
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
    }
    EXPECT_EQ(texts, 3);
}

TEST_F(DonationReminder, EnterAndEscapeDoNotEndTheDialog) {
    TDonateForm form(&owner);
    form.show();
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(Part<QPushButton>(form, "ntmOK"), &press);
    }
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(opened.empty()) << "no answer was given by the keys";
}

}  // namespace
}  // namespace lumera
