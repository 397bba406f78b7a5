// The recorder's addresses on the web, each kept here once: the home page (the logo, the About
// box, the mail to a friend), the page the start-up panel advertises, and the support address.
#pragma once

#include <QString>

namespace kiv {

inline constexpr char kHomePage[] = "https://kivrec.example.org/";
inline constexpr char kAdvertisedPage[] = "https://kivrec.example.org/more.html";
inline constexpr char kSupportAddress[] = "support@kivrec.example.org";

inline QString HomePage() { return QString::fromLatin1(kHomePage); }
inline QString AdvertisedPage() { return QString::fromLatin1(kAdvertisedPage); }
inline QString SupportAddress() { return QString::fromLatin1(kSupportAddress); }

}  // namespace kiv
