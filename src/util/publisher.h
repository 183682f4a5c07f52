// The publisher's web site: the one place that names it.
#pragma once

namespace lumera {

inline constexpr char kPublisherSite[] = "lumera.example";
inline constexpr char kHomePageUrl[] = "https://lumera.example/";
inline constexpr char kDonationPageUrl[] = "https://lumera.example/sw/donate.html";

}  // namespace lumera
