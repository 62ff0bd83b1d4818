// Starts a program and reports, from the X server's own MapNotify event, how long
// after fork its first top-level window was mapped; then keeps it running for a
// settle time and reports its proportional set size (PSS), CPU time and
// voluntary context switches over an idle window of observation.
//   map_watch [--repaints X,Y,W,H] SETTLE_MS IDLE_MS PROGRAM [ARGS...]
// Output: one line "map_ms=… pss_kib=… idle_cpu_ms=… idle_wakeups=… repaints=…".
// CPU is the process's CPU-time clock (nanoseconds, every thread, exited ones
// included); wake-ups are the voluntary context switches of the threads alive at
// both ends of the window. With --repaints, "repaints" counts the bursts of
// drawing (XDamage rectangles on the top-level window, a new burst after 200 ms
// without any) that touch that client rectangle during the window; else 0.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

namespace {

double now_ms() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

long field_of(const std::string& file, const std::string& key) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
  }
  return -1;
}

// CPU time of the whole process so far, in milliseconds.
double cpu_ms(clockid_t clock) {
  timespec t{};
  if (clock_gettime(clock, &t) != 0) return -1;
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Voluntary context switches per live thread.
std::map<std::string, long> switches(pid_t pid) {
  std::map<std::string, long> out;
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  if (DIR* dir = opendir(tasks.c_str())) {
    while (const dirent* e = readdir(dir)) {
      if (e->d_name[0] == '.') continue;
      out[e->d_name] = field_of(tasks + "/" + e->d_name + "/status", "voluntary_ctxt_switches:");
    }
    closedir(dir);
  }
  return out;
}

struct Box {
  int x = 0, y = 0, w = 0, h = 0;
  bool touched_by(const XRectangle& r) const {
    return r.x < x + w && x < r.x + r.width && r.y < y + h && y < r.y + r.height;
  }
};

// Sleeps for ms while reading X events; counts the bursts of damage on box.
int watch_repaints(Display* d, int damage_event, const Box& box, double ms) {
  const double until = now_ms() + ms;
  double last = -1e9;
  int bursts = 0;
  for (double left = ms; left > 0; left = until - now_ms()) {
    if (XPending(d) == 0) {
      pollfd p{ConnectionNumber(d), POLLIN, 0};
      poll(&p, 1, static_cast<int>(left) + 1);
      continue;
    }
    XEvent e;
    XNextEvent(d, &e);
    if (e.type != damage_event + XDamageNotify) continue;
    const auto& n = reinterpret_cast<const XDamageNotifyEvent&>(e);
    if (box.w == 0 || !box.touched_by(n.area)) continue;
    if (now_ms() - last > 200) ++bursts;
    last = now_ms();
  }
  return bursts;
}

}  // namespace

int main(int argc, char** argv) {
  Box box;
  if (argc > 2 && std::string(argv[1]) == "--repaints") {
    if (std::sscanf(argv[2], "%d,%d,%d,%d", &box.x, &box.y, &box.w, &box.h) != 4) box.w = 0;
    argc -= 2;
    argv += 2;
  }
  if (argc < 4) {
    std::fprintf(stderr, "usage: map_watch [--repaints X,Y,W,H] SETTLE_MS IDLE_MS PROGRAM [ARGS...]\n");
    return 2;
  }
  const int settle = std::atoi(argv[1]);
  const int idle = std::atoi(argv[2]);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no X display\n");
    return 2;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  const double start = now_ms();
  const pid_t pid = fork();
  if (pid == 0) {
    execv(argv[3], argv + 3);
    _exit(127);
  }
  double mapped = -1;
  Window window = 0;
  while (mapped < 0) {
    XEvent e;
    XNextEvent(display, &e);
    if (e.type == MapNotify && e.xmap.event == DefaultRootWindow(display)) {
      mapped = now_ms() - start;
      window = e.xmap.window;
    }
  }
  int damage_event = 0, damage_error = 0;
  if (box.w > 0 && XDamageQueryExtension(display, &damage_event, &damage_error)) {
    XDamageCreate(display, window, XDamageReportRawRectangles);
    XFlush(display);
  }
  clockid_t clock{};
  if (clock_getcpuclockid(pid, &clock) != 0) {
    std::fprintf(stderr, "no CPU clock for the program\n");
    kill(pid, SIGKILL);
    return 2;
  }
  watch_repaints(display, damage_event, Box{}, settle);
  const long pss = field_of("/proc/" + std::to_string(pid) + "/smaps_rollup", "Pss:");
  const double cpu0 = cpu_ms(clock);
  const std::map<std::string, long> sw0 = switches(pid);
  const int repaints = watch_repaints(display, damage_event, box, idle);
  const double cpu1 = cpu_ms(clock);
  const std::map<std::string, long> sw1 = switches(pid);
  long wakeups = 0;
  for (const auto& [task, n] : sw1) {
    const auto before = sw0.find(task);
    if (before != sw0.end()) wakeups += n - before->second;
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  std::printf("map_ms=%.1f pss_kib=%ld idle_cpu_ms=%.3f idle_wakeups=%ld repaints=%d\n", mapped, pss, cpu1 - cpu0,
              wakeups, repaints);
  return 0;
}
