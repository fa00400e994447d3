// Runs the built program as a user starts it: without any display, and on
// an X server of the test's own (Xvfb) where it is ended as a user ends it.
// Under the sanitizer build the program's exit status carries
// LeakSanitizer's verdict, so a normal end must exit 0 there too.
#include <xcb/xcb.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QThread>
#include <QtTest>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#ifndef HELIDISK_PROGRAM
#error "HELIDISK_PROGRAM must name the built helidisk executable"
#endif

namespace helidisk {
namespace {

// The sanitizer build starts and ends several times slower.
constexpr int kProgramTimeoutMs = 60000;
constexpr std::string_view kCaptionPrefix = "helidisk   Version";
constexpr std::uint32_t kEscapeKeysym = 0xff1b;

// A child process that is ended whatever happens to the test: asked first,
// so that Xvfb removes its lock file and socket, then killed.
class Child {
 public:
  Child() : process_(std::make_unique<QProcess>()) {}
  ~Child() {
    if (process_->state() == QProcess::NotRunning) return;
    process_->terminate();
    if (!process_->waitForFinished(kProgramTimeoutMs)) {
      process_->kill();
      process_->waitForFinished(kProgramTimeoutMs);
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  QProcess& operator*() const { return *process_; }
  QProcess* operator->() const { return process_.get(); }

 private:
  std::unique_ptr<QProcess> process_;
};

// The environment a user's session would hand over, without any of the
// variables through which Qt finds a display.
QProcessEnvironment WithoutDisplay() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"}) {
    environment.remove(QString::fromLatin1(name));
  }
  return environment;
}

QString Describe(QProcess& process) {
  return QStringLiteral("exit status %1, standard error:\n%2")
      .arg(process.exitCode())
      .arg(QString::fromLocal8Bit(process.readAllStandardError()));
}

// An X connection of the test's own, closed when it goes.
class XConnection {
 public:
  explicit XConnection(const QByteArray& display)
      : connection_(xcb_connect(display.constData(), nullptr)) {}
  ~XConnection() { xcb_disconnect(connection_); }
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  bool Usable() const { return xcb_connection_has_error(connection_) == 0; }
  xcb_connection_t* Get() const { return connection_; }
  xcb_window_t Root() const {
    return xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
  }

  xcb_atom_t Atom(std::string_view name) const {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.data());
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (reply != nullptr) atom = reply->atom;
    std::free(reply);
    return atom;
  }

  // The mapped top-level window whose name begins with the caption, if any.
  std::optional<xcb_window_t> MainWindow() const {
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection_, xcb_query_tree(connection_, Root()), nullptr);
    if (tree == nullptr) return std::nullopt;
    std::optional<xcb_window_t> found;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int index = 0; index < xcb_query_tree_children_length(tree) && !found; ++index) {
      if (IsMapped(children[index]) && NameBeginsWithCaption(children[index])) {
        found = children[index];
      }
    }
    std::free(tree);
    return found;
  }

  std::optional<xcb_keycode_t> KeycodeOf(std::uint32_t keysym) const {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* mapping = xcb_get_keyboard_mapping_reply(
        connection_,
        xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<std::uint8_t>(count)),
        nullptr);
    if (mapping == nullptr) return std::nullopt;
    std::optional<xcb_keycode_t> found;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping);
    const int perKeycode = mapping->keysyms_per_keycode;
    for (int index = 0; index < count * perKeycode && !found; ++index) {
      if (keysyms[index] == keysym) {
        found = static_cast<xcb_keycode_t>(setup->min_keycode + index / perKeycode);
      }
    }
    std::free(mapping);
    return found;
  }

  // A key pressed and released on the window, as the window system hands
  // the focused window a key.
  void SendKey(xcb_window_t window, xcb_keycode_t keycode) const {
    for (const auto& [type, mask] : {std::pair{XCB_KEY_PRESS, XCB_EVENT_MASK_KEY_PRESS},
                                     std::pair{XCB_KEY_RELEASE, XCB_EVENT_MASK_KEY_RELEASE}}) {
      xcb_key_press_event_t event{};
      event.response_type = type;
      event.detail = keycode;
      event.time = XCB_CURRENT_TIME;
      event.root = Root();
      event.event = window;
      event.child = XCB_WINDOW_NONE;
      event.same_screen = 1;
      SendEvent(window, mask, event);
    }
    xcb_flush(connection_);
  }

  // What a window manager sends when the user closes the window.
  void SendDeleteWindow(xcb_window_t window) const {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom("WM_PROTOCOLS");
    event.data.data32[0] = Atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    SendEvent(window, XCB_EVENT_MASK_NO_EVENT, event);
    xcb_flush(connection_);
  }

 private:
  // xcb_send_event takes every event as the protocol's 32 bytes.
  template <typename Event>
  void SendEvent(xcb_window_t window, std::uint32_t mask, const Event& event) const {
    static_assert(sizeof(Event) == 32);
    char bytes[32];
    std::memcpy(bytes, &event, sizeof(bytes));
    xcb_send_event(connection_, 0, window, mask, bytes);
  }

  bool IsMapped(xcb_window_t window) const {
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, window), nullptr);
    const bool mapped = attributes != nullptr && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    return mapped;
  }

  bool NameBeginsWithCaption(xcb_window_t window) const {
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        connection_,
        xcb_get_property(connection_, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0,
                         kCaptionPrefix.size()),
        nullptr);
    bool matches = false;
    if (property != nullptr) {
      const std::string_view name(
          static_cast<const char*>(xcb_get_property_value(property)),
          static_cast<std::size_t>(xcb_get_property_value_length(property)));
      matches = name.substr(0, kCaptionPrefix.size()) == kCaptionPrefix;
    }
    std::free(property);
    return matches;
  }

  xcb_connection_t* connection_;
};

}  // namespace

class ProgramRunTest : public QObject {
  Q_OBJECT

 private slots:
  void withoutDisplayOneLineAndStatus1_data();
  void withoutDisplayOneLineAndStatus1();
  void offscreenNeedsNoDisplay();
  void normalEndExitsWithStatus0_data();
  void normalEndExitsWithStatus0();
};

void ProgramRunTest::withoutDisplayOneLineAndStatus1_data() {
  QTest::addColumn<QString>("platform");
  QTest::addColumn<QString>("display");
  QTest::addColumn<QString>("waylandDisplay");
  QTest::newRow("nothing set") << QString() << QString() << QString();
  QTest::newRow("DISPLAY names no server") << QString() << QStringLiteral(":9999") << QString();
  QTest::newRow("xcb without a server")
      << QStringLiteral("xcb") << QStringLiteral(":9999") << QString();
  QTest::newRow("WAYLAND_DISPLAY names no socket")
      << QString() << QString() << QStringLiteral("/nonexistent/wayland-9");
  QTest::newRow("wayland;xcb, neither there")
      << QStringLiteral("wayland;xcb") << QString() << QStringLiteral("wayland-nonexistent");
}

// Qt's own message without a display says "Reinstalling the application may
// fix this problem" and aborts (exit status 134).
void ProgramRunTest::withoutDisplayOneLineAndStatus1() {
  QFETCH(QString, platform);
  QFETCH(QString, display);
  QFETCH(QString, waylandDisplay);
  QProcessEnvironment environment = WithoutDisplay();
  if (!platform.isEmpty()) environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
  if (!display.isEmpty()) environment.insert(QStringLiteral("DISPLAY"), display);
  if (!waylandDisplay.isEmpty()) {
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), waylandDisplay);
  }
  Child program;
  program->setProcessEnvironment(environment);
  program->start(QStringLiteral(HELIDISK_PROGRAM), {});
  QVERIFY(program->waitForFinished(kProgramTimeoutMs));
  QCOMPARE(program->exitStatus(), QProcess::NormalExit);
  QCOMPARE(program->exitCode(), 1);
  QCOMPARE(program->readAllStandardError(),
           QByteArray("helidisk needs a graphical display; for pictures without one use "
                      "helidisk-render\n"));
  QCOMPARE(program->readAllStandardOutput(), QByteArray());
}

// The check leaves the platforms alone that need no display: the program
// starts and keeps running.
void ProgramRunTest::offscreenNeedsNoDisplay() {
  QProcessEnvironment environment = WithoutDisplay();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  Child program;
  program->setProcessEnvironment(environment);
  program->start(QStringLiteral(HELIDISK_PROGRAM), {});
  QVERIFY(program->waitForStarted(kProgramTimeoutMs));
  QVERIFY2(!program->waitForFinished(3000), qPrintable(Describe(*program)));
}

void ProgramRunTest::normalEndExitsWithStatus0_data() {
  QTest::addColumn<bool>("byEscape");
  QTest::newRow("Esc") << true;
  QTest::newRow("window closed") << false;
}

void ProgramRunTest::normalEndExitsWithStatus0() {
  QFETCH(bool, byEscape);
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
  QVERIFY2(!xvfb.isEmpty(), "Xvfb is missing (Debian package xvfb; tools/install-deps.sh)");

  // A screen of its own on a free display number, which Xvfb tells on its
  // standard output.
  Child server;
  server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  server->start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
  QVERIFY(server->waitForStarted(kProgramTimeoutMs));
  QDeadlineTimer serverDeadline(kProgramTimeoutMs);
  while (!server->canReadLine() && !serverDeadline.hasExpired()) {
    server->waitForReadyRead(100);
  }
  const QByteArray display = ':' + server->readLine().trimmed();
  QVERIFY2(display.size() > 1, "Xvfb told no display number");
  const XConnection x(display);
  QVERIFY2(x.Usable(), display.constData());

  QProcessEnvironment environment = WithoutDisplay();
  environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  Child program;
  program->setProcessEnvironment(environment);
  program->start(QStringLiteral(HELIDISK_PROGRAM), {});
  QVERIFY(program->waitForStarted(kProgramTimeoutMs));

  std::optional<xcb_window_t> window;
  QDeadlineTimer windowDeadline(kProgramTimeoutMs);
  while (!(window = x.MainWindow()) && !windowDeadline.hasExpired() &&
         program->state() == QProcess::Running) {
    QThread::msleep(50);
  }
  QVERIFY2(window.has_value(), qPrintable(Describe(*program)));

  if (byEscape) {
    const std::optional<xcb_keycode_t> escape = x.KeycodeOf(kEscapeKeysym);
    QVERIFY(escape.has_value());
    x.SendKey(*window, *escape);
  } else {
    x.SendDeleteWindow(*window);
  }
  QVERIFY2(program->waitForFinished(kProgramTimeoutMs), "the program did not end");
  QCOMPARE(program->exitStatus(), QProcess::NormalExit);
  QVERIFY2(program->exitCode() == 0, qPrintable(Describe(*program)));
}

}  // namespace helidisk

QTEST_GUILESS_MAIN(helidisk::ProgramRunTest)
#include "program_run_test.moc"
