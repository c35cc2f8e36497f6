// Start-up time to the first painted page with a cover page open, beside LibreOffice Draw
// opening a one-page drawing (the program a user would otherwise pick).
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_app_startup
//
// Each iteration starts a fresh process and stops the clock when
//   - Leafwright/first_paint: the editor reports its first page paint
//     (LW_EXIT_AFTER_FIRST_PAINT=1 makes it print "first-paint" and end);
//   - Leafwright/window and LibreOfficeDraw/window: a mapped top-level window whose title
//     names the opened file appears on the display (the same rule for both programs).
// The process group is then ended. Each benchmark starts its program once untimed first
// (warm caches); LibreOffice runs with a private profile. Without `soffice` on PATH its
// benchmark is skipped.
// LW_BENCH_SAMPLE chooses the cover page (default: business.lwt of the samples).

#include <benchmark/benchmark.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Child {
  pid_t pid = -1;
  int out = -1;  // read end of the child's standard output, or -1
};

// Starts argv in its own process group; standard output goes to a pipe when `capture`.
Child Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
            bool capture) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> envStore;
  for (char** e = environ; *e; ++e) envStore.emplace_back(*e);
  for (const auto& e : extraEnv) envStore.push_back(e);
  std::vector<char*> envp;
  for (auto& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int pipeFds[2] = {-1, -1};
  if (capture && pipe(pipeFds) == 0) {
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attr, 0);
  Child child;
  if (posix_spawnp(&child.pid, argv[0], &actions, &attr, argv.data(), envp.data()) != 0) {
    child.pid = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  if (pipeFds[1] >= 0) close(pipeFds[1]);
  child.out = pipeFds[0];
  return child;
}

void EndGroup(Child& child, int graceMs) {
  if (child.pid <= 0) return;
  kill(-child.pid, SIGTERM);
  const auto deadline = Clock::now() + std::chrono::milliseconds(graceMs);
  int status = 0;
  while (waitpid(child.pid, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      kill(-child.pid, SIGKILL);
      waitpid(child.pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(-child.pid, SIGKILL);  // helpers left in the group
  if (child.out >= 0) close(child.out);
  child = Child{};
}

// Waits for a line containing `text` on the child's output. False on end of output.
bool WaitForLine(int fd, const char* text) {
  std::string got;
  char buf[256];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return false;
    got.append(buf, size_t(n));
    if (got.find(text) != std::string::npos) return true;
  }
}

std::string WindowTitle(Display* dpy, Window w) {
  const Atom netWmName = XInternAtom(dpy, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
  Atom type;
  int format;
  unsigned long items, after;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(dpy, w, netWmName, 0, 1024, False, utf8, &type, &format, &items, &after,
                         &data) == Success &&
      data) {
    title.assign(reinterpret_cast<char*>(data), items);
    XFree(data);
  }
  if (title.empty()) {
    char* name = nullptr;
    if (XFetchName(dpy, w, &name) && name) {
      title = name;
      XFree(name);
    }
  }
  return title;
}

// A viewable window at most two levels below the root whose title contains `part`.
bool HasWindow(Display* dpy, Window parent, const std::string& part, int depth) {
  Window root, par;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(dpy, parent, &root, &par, &children, &count)) return false;
  bool found = false;
  for (unsigned i = 0; i < count && !found; ++i) {
    XWindowAttributes attrs;
    if (!XGetWindowAttributes(dpy, children[i], &attrs) || attrs.map_state != IsViewable) continue;
    if (WindowTitle(dpy, children[i]).find(part) != std::string::npos) {
      found = true;
    } else if (depth > 0) {
      found = HasWindow(dpy, children[i], part, depth - 1);
    }
  }
  if (children) XFree(children);
  return found;
}

bool WaitForWindow(Display* dpy, const std::string& part, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < deadline) {
    if (HasWindow(dpy, DefaultRootWindow(dpy), part, 1)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return false;
}

std::string Sample() {
  if (const char* s = std::getenv("LW_BENCH_SAMPLE")) return s;
  return std::string(LW_SAMPLES_DIR) + "/business.lwt";
}

// A private folder for the runs: its own settings store and Samples folder.
std::vector<std::string> LeafwrightEnv() {
  static const std::string home = [] {
    char tmpl[] = "/tmp/lw-bench-XXXXXX";
    const char* dir = mkdtemp(tmpl);
    return std::string(dir ? dir : "/tmp");
  }();
  return {"XDG_CONFIG_HOME=" + home + "/config", "XDG_DATA_HOME=" + home + "/data",
          "XDG_STATE_HOME=" + home + "/state"};
}

void Leafwright_first_paint(benchmark::State& state) {
  auto env = LeafwrightEnv();
  env.push_back("LW_EXIT_AFTER_FIRST_PAINT=1");
  {
    Child warm = Spawn({LW_LEAFWRIGHT_PATH, Sample()}, env, true);
    if (warm.pid > 0) WaitForLine(warm.out, "first-paint");
    EndGroup(warm, 2000);
  }
  for (auto _ : state) {
    const auto start = Clock::now();
    Child child = Spawn({LW_LEAFWRIGHT_PATH, Sample()}, env, true);
    if (child.pid < 0 || !WaitForLine(child.out, "first-paint")) {
      state.SkipWithError("leafwright did not report its first paint");
      EndGroup(child, 100);
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    EndGroup(child, 2000);
  }
}

void RunWindowBenchmark(benchmark::State& state, const std::vector<std::string>& args,
                        const std::vector<std::string>& env, const std::string& title,
                        const std::function<void()>& afterRun) {
  // One connection for the whole run: Xvfb resets itself whenever its last client leaves.
  static Display* const dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    state.SkipWithError("no X display (run under xvfb-run)");
    return;
  }
  {
    // One untimed start first, so that every program is measured with warm caches.
    Child warm = Spawn(args, env, false);
    if (warm.pid > 0) WaitForWindow(dpy, title, 120000);
    EndGroup(warm, 10000);
    if (afterRun) afterRun();
  }
  for (auto _ : state) {
    const auto start = Clock::now();
    Child child = Spawn(args, env, false);
    const bool shown = child.pid > 0 && WaitForWindow(dpy, title, 120000);
    const auto stop = Clock::now();
    EndGroup(child, 10000);
    if (afterRun) afterRun();
    if (!shown) {
      state.SkipWithError("the window did not appear");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
  }
}

void Leafwright_window(benchmark::State& state) {
  const std::string name = fs::path(Sample()).filename().string();
  RunWindowBenchmark(state, {LW_LEAFWRIGHT_PATH, Sample()}, LeafwrightEnv(), name + " - Leafwright",
                     {});
}

// LibreOffice: a one-page drawing made once from our icon, and a private warm profile.
struct LibreOffice {
  std::string folder, drawing, profileUrl;
  bool ready = false;
};

const LibreOffice& PreparedLibreOffice() {
  static LibreOffice lo = [] {
    LibreOffice o;
    if (std::system("command -v soffice >/dev/null 2>&1") != 0) return o;
    o.folder = "/tmp/lw-bench-lo";
    fs::create_directories(o.folder + "/profile");
    o.profileUrl = "-env:UserInstallation=file://" + o.folder + "/profile";
    o.drawing = o.folder + "/drawing.odg";
    if (!fs::exists(o.drawing)) {
      fs::copy_file(LW_ICON_SVG, o.folder + "/drawing.svg", fs::copy_options::overwrite_existing);
      const std::string convert = "cd " + o.folder + " && soffice " + o.profileUrl +
                                  " --headless --convert-to odg drawing.svg >/dev/null 2>&1";
      if (std::system(convert.c_str()) != 0 || !fs::exists(o.drawing)) return o;
    }
    o.ready = true;
    return o;
  }();
  return lo;
}

void RemoveLibreOfficeLocks(const LibreOffice& lo) {
  std::error_code ec;
  fs::remove(lo.folder + "/.~lock.drawing.odg#", ec);
  fs::remove(lo.folder + "/profile/.lock", ec);
}

void LibreOfficeDraw_window(benchmark::State& state) {
  const LibreOffice& lo = PreparedLibreOffice();
  if (!lo.ready) {
    state.SkipWithError("LibreOffice Draw (soffice) is not installed");
    return;
  }
  const std::vector<std::string> args = {"soffice",     lo.profileUrl, "--nologo", "--norestore",
                                         "--nodefault", "--draw",      lo.drawing};
  RunWindowBenchmark(state, args, {}, "drawing.odg", [&] { RemoveLibreOfficeLocks(lo); });
}

}  // namespace

BENCHMARK(Leafwright_first_paint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(Leafwright_window)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(LibreOfficeDraw_window)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
