#pragma once

// The application's reverse-DNS id: it names the desktop file, the icon and the AppStream file
// that the install puts in place, and the desktop matches the running window to them by it.
namespace desktop {

inline constexpr char kApplicationId[] = "org.example.Tunara";

} // namespace desktop
