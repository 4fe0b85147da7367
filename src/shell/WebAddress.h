// The project's own addresses, as the Help menu and the about box give them.
#pragma once

// The project page as the about box shows it, and as it is opened (the
// same with a trailing slash).
inline constexpr const char kWebAddress[] = "https://kestrix.example.org";
inline constexpr const char kWebSite[] = "https://kestrix.example.org/";
// The project's mail address; its link is "Mailto:" and the address.
inline constexpr const char kMailAddress[] = "kestrix@example.org";
