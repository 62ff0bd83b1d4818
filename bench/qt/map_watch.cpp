// Starts a program and reports, from the X server's own MapNotify event, how long
// after fork its first top-level window was mapped; then keeps it running for a
// settle time and reports its proportional set size (PSS), CPU time and
// voluntary context switches over an idle window of observation.
//   map_watch SETTLE_MS IDLE_MS PROGRAM [ARGS...]
// Output: one line "map_ms=… pss_kib=… idle_cpu_ms=… idle_wakeups=…".
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
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

// utime + stime of a process, in milliseconds.
double cpu_ms(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string all((std::istreambuf_iterator<char>(in)), {});
  std::istringstream rest(all.substr(all.rfind(')') + 2));
  std::string skip;
  for (int i = 0; i < 11; ++i) rest >> skip;  // fields 3..13
  long utime = 0, stime = 0;
  rest >> utime >> stime;
  return static_cast<double>(utime + stime) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long switches(pid_t pid) {
  // All threads: the countdown's workers count too.
  return field_of("/proc/" + std::to_string(pid) + "/status", "voluntary_ctxt_switches:");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: map_watch SETTLE_MS IDLE_MS PROGRAM [ARGS...]\n");
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
  while (mapped < 0) {
    XEvent e;
    XNextEvent(display, &e);
    if (e.type == MapNotify && e.xmap.event == DefaultRootWindow(display)) mapped = now_ms() - start;
  }
  usleep(static_cast<useconds_t>(settle) * 1000);
  const long pss = field_of("/proc/" + std::to_string(pid) + "/smaps_rollup", "Pss:");
  const double cpu0 = cpu_ms(pid);
  const long sw0 = switches(pid);
  usleep(static_cast<useconds_t>(idle) * 1000);
  const double cpu1 = cpu_ms(pid);
  const long sw1 = switches(pid);
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  std::printf("map_ms=%.1f pss_kib=%ld idle_cpu_ms=%.1f idle_wakeups=%ld\n", mapped, pss, cpu1 - cpu0, sw1 - sw0);
  return 0;
}
