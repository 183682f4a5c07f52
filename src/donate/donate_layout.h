// The donation dialog as every front-end shows it: caption, size, colours, the answers in
// their order, the parts with their places, and the texts of the panel.
#pragma once

#include <array>
#include <string>

#include "engine/ports.h"
#include "util/publisher.h"

namespace lumera {

inline constexpr char kDonateCaption[] = "Make a Donation";
inline constexpr int kDonateClientWidth = 366;
inline constexpr int kDonateClientHeight = 473;

inline constexpr Colour clMoneyGreen = 0xC0DCC0;
inline constexpr Colour clCream = 0xF0FBFF;
inline constexpr Colour clLinkBlue = 0xFF0000;
inline constexpr Colour clBevelLight = 0xFFFFFF;
inline constexpr Colour clBevelShadow = 0x808080;

// The radio group's items, by answer index (see DonateAnswer).
inline constexpr std::array<const char*, 5> kDonateAnswerTexts = {
    "Yes, take me to the donations page now!",
    "I still have to check it a bit more, show this again in two weeks",
    "I already made a donation, don't show this dialog again",
    "No, I don't want to donate, never show this dialog again",
    "Not now, notify me again in 1 day",
};

struct DonatePartDef {
    const char* name;
    int left, top, width, height;  // in the dialog, or in Panel1 for the panel's labels
};

inline constexpr DonatePartDef kDonateImage{"Image1", 8, 8, 350, 135};
inline constexpr DonatePartDef kDonateRadioGroup{"rgDonate", 8, 152, 350, 145};
inline constexpr DonatePartDef kDonateProceedButton{"ntmOK", 224, 432, 133, 33};
inline constexpr DonatePartDef kDonatePanel{"Panel1", 8, 304, 350, 121};
inline constexpr DonatePartDef kDonateLabel1{"Label1", 8, 8, 337, 41};
inline constexpr DonatePartDef kDonateLabel2{"Label2", 8, 56, 337, 41};
inline constexpr DonatePartDef kDonateHomePageLabel{"lblHomePage", 98, 104, 149, 13};

// The answers lie in one column: the first at this top within the group, one item pitch apart.
inline constexpr int kDonateItemLeft = 8;
inline constexpr int kDonateItemTop = 15;
inline constexpr int kDonateItemPitch = 25;
inline constexpr int kDonateItemWidth = 340;

inline constexpr char kDonateProceedText[] = "Proceed";
inline constexpr int kDonateGlyphPixels = 24;

inline std::string DonateLabel1Text() {
    return std::string("Donations help offset the cost of running ") + kPublisherSite +
           " and allow you to say \"thank you for a job well done\". ";
}
inline constexpr char kDonateLabel2Text[] =
    "Donating is completely optional, and the amount you give is entirely up to you.  Thank you.";
inline std::string DonateHomePageText() { return std::string("www.") + kPublisherSite; }

}  // namespace lumera
