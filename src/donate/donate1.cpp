// The donation dialog TDonateForm and the module state it acts on.
#include "donate/donate1.h"

#include <optional>
#include <utility>

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include "util/days.h"
#include "init_resources.h"
#include "util/small_windows.h"
#include "util/my_utils.h"
#include "util/publisher.h"

namespace lumera {

namespace {

const QColor kMoneyGreen(192, 220, 192);
const QColor kCream(255, 251, 240);
const QColor kLinkBlue(0, 0, 255);
const QColor kBevelLight(255, 255, 255);
const QColor kBevelShadow(128, 128, 128);

const char* const kAnswerTexts[5] = {
    "Yes, take me to the donations page now!",
    "I still have to check it a bit more, show this again in two weeks",
    "I already made a donation, don't show this dialog again",
    "No, I don't want to donate, never show this dialog again",
    "Not now, notify me again in 1 day",
};

struct Module {
    DonationState state;
    util::RegistryStore* store = nullptr;
    std::optional<util::RegistryStore> defaultStore;
    std::function<int()> today;
    std::string programFile = "lumera8";
    QPointer<TDonateForm> dialog;
};

Module& TheModule() {
    static Module module;
    return module;
}

util::RegistryStore& Store() {
    Module& module = TheModule();
    if (module.store) return *module.store;
    if (!module.defaultStore) module.defaultStore.emplace(util::RegistryStore::DefaultPath());
    return *module.defaultStore;
}

int Today() {
    const Module& module = TheModule();
    return module.today ? module.today() : util::TodayDayNumber();
}

void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}


// A panel with a raised outer and a lowered inner bevel, one pixel each.
class BevelPanel : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect outer = rect();
        DrawBevel(painter, outer, kBevelLight, kBevelShadow);
        DrawBevel(painter, outer.adjusted(1, 1, -1, -1), kBevelShadow, kBevelLight);
    }

private:
    static void DrawBevel(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
        painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
        painter.setPen(bottomRight);
        painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
        painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    }
};

// A radio group's box: an etched frame below half a text line, on its own background colour.
class RadioGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect frame = rect().adjusted(0, fontMetrics().height() / 2, -1, -1);
        painter.setPen(kBevelShadow);
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        painter.setPen(kBevelLight);
        painter.drawRect(frame.adjusted(1, 1, 0, 0));
    }
};

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// Shows a new dialog modally and releases it afterwards, also when an error ends the showing.
void RunDialog(QWidget* owner) {
    Module& module = TheModule();
    auto* form = new TDonateForm(owner);
    module.dialog = form;
    struct Release {
        QPointer<TDonateForm> form;
        ~Release() {
            if (form) form->deleteLater();
            TheModule().dialog = nullptr;
        }
    } release {form};
    form->SetItemIndex(0);
    form->exec();
}

}  // namespace

TDonateForm::TDonateForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    InitResources();
    setObjectName("DonateForm");
    setWindowTitle("Make a Donation");
    setFixedSize(366, 473);
    setFont(FormFont());
    SetBackground(this, kMoneyGreen);

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(8, 8, 350, 135);
    Image1->setPixmap(QPixmap(":/pictures/donate.png"));

    rgDonate = new RadioGroupBox(this);
    rgDonate->setObjectName("rgDonate");
    rgDonate->setGeometry(8, 152, 350, 145);
    SetBackground(rgDonate, kCream);
    // One column, items spread evenly below a text-height top margin.
    for (int i = 0; i < 5; ++i) {
        auto* item = new QRadioButton(kAnswerTexts[i], rgDonate);
        item->setObjectName(QString("rgDonateItem%1").arg(i));
        item->setGeometry(8, 15 + 25 * i, 340, 25);
        rgDonateItems[static_cast<std::size_t>(i)] = item;
    }

    ntmOK = new QPushButton(QString("Proceed"), this);
    ntmOK->setObjectName("ntmOK");
    ntmOK->setGeometry(224, 432, 133, 33);
    QIcon door;
    door.addPixmap(QPixmap(":/pictures/door.png"), QIcon::Normal);
    door.addPixmap(QPixmap(":/pictures/door_disabled.png"), QIcon::Disabled);
    ntmOK->setIcon(door);
    ntmOK->setIconSize(QSize(24, 24));
    ntmOK->setAutoDefault(false);
    ntmOK->setDefault(false);
    connect(ntmOK, &QPushButton::clicked, this, [this] { ntmOKClick(); });

    Panel1 = new BevelPanel(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(8, 304, 350, 121);
    SetBackground(Panel1, kCream);

    const QString site = QString::fromLatin1(kPublisherSite);
    Label1 = MakeLabel(Panel1, "Label1",
                       "Donations help offset the cost of running " + site +
                           " and allow you to say \"thank you for a job well done\". ",
                       QRect(8, 8, 337, 41));
    Label2 = MakeLabel(Panel1, "Label2",
                       "Donating is completely optional, and the amount you give is entirely up to you.  Thank you.",
                       QRect(8, 56, 337, 41));

    lblHomePage = new ClickLabel("www." + site, Panel1, [this] { lblHomePageClick(); });
    lblHomePage->setObjectName("lblHomePage");
    lblHomePage->setGeometry(98, 104, 149, 13);
    lblHomePage->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblHomePage->setCursor(Qt::PointingHandCursor);
    QFont linkFont = lblHomePage->font();
    linkFont.setUnderline(true);
    lblHomePage->setFont(linkFont);
    QPalette linkPalette = lblHomePage->palette();
    linkPalette.setColor(QPalette::WindowText, kLinkBlue);
    lblHomePage->setPalette(linkPalette);

    setTabOrder(rgDonateItems[0], ntmOK);

    FormCreate();
}

int TDonateForm::ItemIndex() const {
    for (std::size_t i = 0; i < rgDonateItems.size(); ++i)
        if (rgDonateItems[i]->isChecked()) return static_cast<int>(i);
    return 0;
}

void TDonateForm::SetItemIndex(int index) {
    if (index < 0 || index >= static_cast<int>(rgDonateItems.size())) return;
    rgDonateItems[static_cast<std::size_t>(index)]->setChecked(true);
}

void TDonateForm::FormCreate() { SetItemIndex(0); }

void TDonateForm::ntmOKClick() { close(); }

void TDonateForm::FormClose() {
    if (TheModule().state.ApplyAnswer(ItemIndex(), Today())) ShellOpen(kDonationPageUrl);
}

void TDonateForm::lblHomePageClick() { ShellOpen(kHomePageUrl); }

void TDonateForm::done(int result) {
    // A hidden dialog is not being closed, so it gives no answer.
    if (isVisible()) FormClose();
    QDialog::done(result);
}

void TDonateForm::closeEvent(QCloseEvent* event) {
    if (isVisible()) done(QDialog::Accepted);
    event->accept();
}

void TDonateForm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void ConfigureDonation(util::RegistryStore* store, std::function<int()> today, std::string programFile) {
    Module& module = TheModule();
    module.store = store;
    module.today = std::move(today);
    module.programFile = std::move(programFile);
}

void LoadDonationState() {
    Module& module = TheModule();
    module.state.Load(Store(), module.programFile, Today());
}

void SaveDonationState() {
    try {
        TheModule().state.Save(Store());
    } catch (...) {
        // Finding the default store can fail too; at program end nothing is left to tell.
    }
}

void CheckDonationReminder(QWidget* owner) {
    DonationState& state = TheModule().state;
    const int today = Today();
    if (!state.ShouldOfferOnClose(today)) return;
    state.BeginScheduledShowing(today);
    RunDialog(owner);
}

void ShowDonationDialog(QWidget* owner) {
    TheModule().state.BeginMenuShowing();
    RunDialog(owner);
}

const DonationState& CurrentDonationState() { return TheModule().state; }

}  // namespace lumera
