// Key press to repaint, seen from outside the program: starts it, waits for its
// top-level window to map, gives that window the X input focus, clicks into an
// edit box with the XTest extension, then presses keys there and times each
// press until the X server reports (XDamage, raw rectangles on the top-level
// window) drawing that touches a target rectangle.
//   key_latency PRESSES CLICK_X CLICK_Y TARGET_X TARGET_Y TARGET_W TARGET_H PROGRAM [ARGS...]
// Coordinates are the window's client coordinates. Each round presses BackSpace
// (the box empties), waits for the target's repaint, then presses a digit (1..9
// in turn, so the result differs from the last one) and waits again; the digit
// presses are the ones reported. A key is released after its repaint arrived.
// Output: one line "presses=… digit_p50_ms=… digit_p95_ms=… digit_max_ms=…
// backspace_p50_ms=… backspace_p95_ms=… missed=…"; a press with no repaint of the
// target within a second counts as missed and is left out of the figures.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double now_ms() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Box {
  int x, y, w, h;
  bool touched_by(const XRectangle& r) const {
    return r.x < x + w && x < r.x + r.width && r.y < y + h && y < r.y + r.height;
  }
};

// Waits up to timeout_ms for an event; false on timeout.
bool next_event(Display* d, XEvent& e, double timeout_ms) {
  const double until = now_ms() + timeout_ms;
  while (XPending(d) == 0) {
    const double left = until - now_ms();
    if (left <= 0) return false;
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    poll(&p, 1, static_cast<int>(left) + 1);
  }
  XNextEvent(d, &e);
  return true;
}

// Reads events for quiet_ms after the last one arrived (at most limit_ms).
void drain(Display* d, double quiet_ms, double limit_ms) {
  const double limit = now_ms() + limit_ms;
  XEvent e;
  while (now_ms() < limit && next_event(d, e, quiet_ms)) {
  }
}

int damage_event = 0;

// Presses a key, waits for the target's repaint, releases it. Milliseconds from
// the press to the first damage rectangle touching the target, or -1.
double press(Display* d, KeyCode key, const Box& target) {
  drain(d, 0, 0);
  XTestFakeKeyEvent(d, key, True, CurrentTime);
  XFlush(d);
  const double start = now_ms();
  double took = -1;
  XEvent e;
  while (took < 0) {
    const double left = 1000 - (now_ms() - start);
    if (left <= 0 || !next_event(d, e, left)) break;
    if (e.type != damage_event + XDamageNotify) continue;
    const auto& n = reinterpret_cast<const XDamageNotifyEvent&>(e);
    if (target.touched_by(n.area)) took = now_ms() - start;
  }
  XTestFakeKeyEvent(d, key, False, CurrentTime);
  XFlush(d);
  drain(d, 15, 500);  // the rest of this press's drawing
  return took;
}

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  const auto at = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(at, v.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 9) {
    std::fprintf(stderr, "usage: key_latency PRESSES CLICK_X CLICK_Y TARGET_X TARGET_Y TARGET_W TARGET_H PROGRAM [ARGS...]\n");
    return 2;
  }
  const int presses = std::atoi(argv[1]);
  const int click_x = std::atoi(argv[2]);
  const int click_y = std::atoi(argv[3]);
  const Box target{std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7])};
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no X display\n");
    return 2;
  }
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display, &event_base, &error_base, &major, &minor) ||
      !XDamageQueryExtension(display, &damage_event, &error_base)) {
    std::fprintf(stderr, "the X server lacks XTest or XDamage\n");
    return 2;
  }
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  const pid_t pid = fork();
  if (pid == 0) {
    execv(argv[8], argv + 8);
    _exit(127);
  }
  Window window = 0;
  while (window == 0) {
    XEvent e;
    XNextEvent(display, &e);
    if (e.type == MapNotify && e.xmap.event == root) window = e.xmap.window;
  }
  XDamageCreate(display, window, XDamageReportRawRectangles);
  drain(display, 300, 3000);  // first paint done
  XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, root, click_x, click_y, &x, &y, &child);
  XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
  XTestFakeButtonEvent(display, 1, True, CurrentTime);
  XTestFakeButtonEvent(display, 1, False, CurrentTime);
  XSync(display, False);
  drain(display, 100, 1000);
  const Box anywhere{0, 0, 1 << 15, 1 << 15};
  press(display, XKeysymToKeycode(display, XK_End), anywhere);  // caret after the text
  std::vector<double> digit, backspace;
  int missed = 0;
  for (int i = 0; i < presses; ++i) {
    const double b = press(display, XKeysymToKeycode(display, XK_BackSpace), target);
    const double t = press(display, XKeysymToKeycode(display, static_cast<KeySym>(XK_1 + i % 9)), target);
    if (b >= 0) backspace.push_back(b);
    if (t >= 0) digit.push_back(t);
    else ++missed;
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  std::printf("presses=%d digit_p50_ms=%.2f digit_p95_ms=%.2f digit_max_ms=%.2f backspace_p50_ms=%.2f "
              "backspace_p95_ms=%.2f missed=%d\n",
              presses, percentile(digit, 0.5), percentile(digit, 0.95), percentile(digit, 1.0),
              percentile(backspace, 0.5), percentile(backspace, 0.95), missed);
  return missed == presses ? 1 : 0;
}
