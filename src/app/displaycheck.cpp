#include "displaycheck.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QByteArray>
#include <QList>
#include <QtGlobal>
#include <cstring>

namespace helidisk {
namespace {

// Connects as Qt's xcb plugin does: to DISPLAY, with the authority that
// XAUTHORITY names.
bool XServerAccepts() {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) return false;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool accepted = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return accepted;
}

bool UnixSocketListens(const QByteArray& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof(address.sun_path)) {
    return false;
  }
  std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
  const int descriptor = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (descriptor < 0) return false;
  const bool connected =
      connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  close(descriptor);
  return connected;
}

// WAYLAND_DISPLAY is a socket name in XDG_RUNTIME_DIR, or an absolute path;
// WAYLAND_SOCKET hands over a connected socket.
bool WaylandCompositorListens() {
  if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET")) return true;
  const QByteArray name = qgetenv("WAYLAND_DISPLAY");
  if (name.isEmpty()) return false;
  if (name.startsWith('/')) return UnixSocketListens(name);
  const QByteArray runtimeDirectory = qgetenv("XDG_RUNTIME_DIR");
  if (runtimeDirectory.isEmpty()) return false;
  return UnixSocketListens(runtimeDirectory + '/' + name);
}

// One entry of QT_QPA_PLATFORM, options after the colon left out.  Only xcb
// and the wayland plugins need a server; any other platform draws without
// one (offscreen, minimal, vnc, linuxfb, eglfs, ...), or is one Qt itself
// must judge.
bool PlatformUsable(const QByteArray& entry) {
  const qsizetype colon = entry.indexOf(':');
  const QByteArray name = (colon < 0 ? entry : entry.left(colon)).trimmed();
  if (name == "xcb") return XServerAccepts();
  if (name.startsWith("wayland")) return WaylandCompositorListens();
  return true;
}

}  // namespace

bool HasUsableDisplay() {
  const QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
  if (platforms.trimmed().isEmpty()) return XServerAccepts() || WaylandCompositorListens();
  // Qt tries the entries of a list such as "wayland;xcb" in turn.
  for (const QByteArray& entry : platforms.split(';')) {
    if (!entry.trimmed().isEmpty() && PlatformUsable(entry)) return true;
  }
  return false;
}

}  // namespace helidisk
