// Whether the window has anywhere to appear, asked before the application
// object exists: without a display Qt's platform plugin aborts the program
// with a generic message about reinstalling it.
#pragma once

#include <string_view>

namespace helidisk {

// The one line the program writes when it has no display, and exits 1.
inline constexpr std::string_view kNoDisplayMessage =
    "helidisk needs a graphical display; for pictures without one use helidisk-render";

// True when QT_QPA_PLATFORM names a platform that needs no display server
// (offscreen, minimal, vnc, ...), or when one of the platforms Qt would try
// finds its server: the X server that DISPLAY names accepts a connection
// (xcb), or a compositor listens on the socket that WAYLAND_DISPLAY names
// (wayland).  Without QT_QPA_PLATFORM Qt tries both.
bool HasUsableDisplay();

}  // namespace helidisk
