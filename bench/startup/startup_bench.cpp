// How long the program takes from its start until its main window is on the
// screen, how much memory it holds then and how often it wakes at rest,
// against a minimal Qt Widgets window showing one Chinese label in the
// program's font, measured on the same X server in the same run.
//
// The program is started as a separate process, exactly as a user starts it.
// "Shown" is the first drawing into the program's top-level window after the
// window manager has mapped it, as the X server's DAMAGE extension reports
// it: the moment the window's contents reach the screen, whatever the program
// prints or does not print. Memory is read from /proc 500 ms later. At rest
// (pointer still, nothing opened) one more start of each is watched for 10 s:
// the context switches of all its threads count its wake-ups.
//
// Usage: bench_startup [REFERENCE]. REFERENCE, another build of the program
// (an older release, say), is measured in the same run, taking turns with
// the others, and its figures are printed beside this build's.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kRuns = 9;
constexpr auto kSettle = 500ms;
constexpr auto kRunTimeout = 30s;
constexpr auto kRest = 10s;
const char *const kProgramTitle = "Brenvik软件-[Kelmira]-Vantolux！";
const char *const kBaselineTitle = "Tintavo start-up baseline";

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// ---------------------------------------------------------------------------
// Processes

pid_t spawn(const std::vector<std::string> &argv, const std::vector<std::string> &env,
            const std::string &output)
{
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char *> envp;
    for (const std::string &e : env)
        envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : 0;
}

void stopProcess(pid_t pid, int signal)
{
    if (pid <= 0)
        return;
    kill(pid, signal);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

bool exited(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

// The environment of the measured programs: ours, on the benchmark's display
// and Qt's X11 platform.
std::vector<std::string> childEnvironment(const std::string &display)
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        const std::string_view entry(*e);
        if (entry.starts_with("DISPLAY=") || entry.starts_with("QT_QPA_PLATFORM="))
            continue;
        env.emplace_back(entry);
    }
    env.push_back("DISPLAY=" + display);
    env.emplace_back("QT_QPA_PLATFORM=xcb");
    return env;
}

struct Memory
{
    long rssKb = 0;
    long privateDirtyKb = 0;
    // The executable's own code: how much of it is mapped, of how much.
    long ownCodeKb = 0;
    long ownCodeSizeKb = 0;
};

long fieldKb(const std::string &line, size_t nameLength)
{
    return std::strtol(line.c_str() + nameLength, nullptr, 10);
}

Memory readMemory(pid_t pid, const std::string &program)
{
    Memory m;
    const std::string proc = "/proc/" + std::to_string(pid);
    std::ifstream in(proc + "/smaps_rollup");
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with("Rss:"))
            m.rssKb = fieldKb(line, 4);
        else if (line.starts_with("Private_Dirty:"))
            m.privateDirtyKb = fieldKb(line, 14);
    }
    // The executable mapping of the program file itself: what the start-up
    // code layout keeps small.
    std::ifstream maps(proc + "/smaps");
    bool ownCode = false;
    while (std::getline(maps, line)) {
        unsigned long from = 0, to = 0;
        char perms[5] = {};
        int pathAt = 0;
        if (std::sscanf(line.c_str(), "%lx-%lx %4s %*s %*s %*s %n", &from, &to, perms, &pathAt) >= 3
            && pathAt > 0) {
            ownCode = perms[2] == 'x' && line.compare(pathAt, std::string::npos, program) == 0;
            if (ownCode)
                m.ownCodeSizeKb += long((to - from) / 1024);
        } else if (ownCode && line.starts_with("Rss:")) {
            m.ownCodeKb += fieldKb(line, 4);
        }
    }
    return m;
}

// What a process has done so far: context switches of all its threads (each
// one a wake-up or a preemption) and CPU time.
struct Activity
{
    long switches = 0;
    double cpuMs = 0;
};

Activity readActivity(pid_t pid)
{
    Activity a;
    const std::string dir = "/proc/" + std::to_string(pid);
    if (DIR *tasks = opendir((dir + "/task").c_str())) {
        while (const dirent *t = readdir(tasks)) {
            if (t->d_name[0] == '.')
                continue;
            std::ifstream in(dir + "/task/" + t->d_name + "/status");
            std::string line;
            while (std::getline(in, line)) {
                if (line.starts_with("voluntary_ctxt_switches:"))
                    a.switches += fieldKb(line, 24);
                else if (line.starts_with("nonvoluntary_ctxt_switches:"))
                    a.switches += fieldKb(line, 27);
            }
        }
        closedir(tasks);
    }
    std::ifstream stat(dir + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields 14 and 15, user and system time, follow the command name's ')'.
    std::istringstream fields(text.substr(std::min(text.rfind(')') + 2, text.size())));
    std::string field;
    long ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i >= 14)
            ticks += std::strtol(field.c_str(), nullptr, 10);
    }
    a.cpuMs = 1000.0 * double(ticks) / double(sysconf(_SC_CLK_TCK));
    return a;
}

// ---------------------------------------------------------------------------
// The X server: a private Xvfb with openbox when both are there, so every
// program meets a window manager as it would on a desktop; else the display
// we were given.

struct XServer
{
    pid_t xvfb = 0;
    pid_t wm = 0;
    std::string display;
    std::string description;

    ~XServer()
    {
        stopProcess(wm, SIGTERM);
        stopProcess(xvfb, SIGTERM);
    }
};

bool onPath(const char *program)
{
    const char *path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

bool canConnect(const std::string &display)
{
    xcb_connection_t *c = xcb_connect(display.c_str(), nullptr);
    const bool ok = !xcb_connection_has_error(c);
    xcb_disconnect(c);
    return ok;
}

bool windowManagerRunning(const std::string &display)
{
    xcb_connection_t *c = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr);
    bool running = false;
    if (atom && atom->atom != XCB_ATOM_NONE) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_get_property_reply_t *prop = xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
        running = prop && xcb_get_property_value_length(prop) > 0;
        free(prop);
    }
    free(atom);
    xcb_disconnect(c);
    return running;
}

template <typename Ready> bool waitFor(Ready ready, std::chrono::milliseconds limit)
{
    const auto end = Clock::now() + limit;
    while (Clock::now() < end) {
        if (ready())
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

bool startPrivateServer(XServer &server, const std::string &log)
{
    if (!onPath("Xvfb") || !onPath("openbox"))
        return false;
    int number = 400 + int(getpid() % 100);
    while (fs::exists("/tmp/.X11-unix/X" + std::to_string(number)) ||
           fs::exists("/tmp/.X" + std::to_string(number) + "-lock"))
        ++number;
    server.display = ":" + std::to_string(number);
    server.xvfb = spawn(
        {"Xvfb", server.display, "-screen", "0", "1280x1024x24", "-noreset", "-nolisten", "tcp"},
        childEnvironment(server.display), log);
    if (!server.xvfb || !waitFor([&] { return canConnect(server.display); }, 10s))
        return false;
    server.wm = spawn({"openbox", "--sm-disable"}, childEnvironment(server.display), log);
    if (!server.wm || !waitFor([&] { return windowManagerRunning(server.display); }, 10s))
        return false;
    server.description = "private Xvfb " + server.display + " with openbox";
    return true;
}

// ---------------------------------------------------------------------------
// Watching windows appear

struct Sample
{
    double mappedMs = 0;
    double shownMs = 0;
    Memory memory;
    // Over kRest after settling; only when asked for.
    Activity rest;
};

class WindowWatcher
{
public:
    explicit WindowWatcher(const std::string &display)
    {
        m_c = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(m_c))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        const xcb_query_extension_reply_t *damage = xcb_get_extension_data(m_c, &xcb_damage_id);
        if (!damage || !damage->present)
            return;
        free(xcb_damage_query_version_reply(
            m_c, xcb_damage_query_version(m_c, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
            nullptr));
        m_damageNotify = uint8_t(damage->first_event + XCB_DAMAGE_NOTIFY);
        m_netWmName = atom("_NET_WM_NAME");
        m_utf8 = atom("UTF8_STRING");
        m_netWmPid = atom("_NET_WM_PID");
        // Every top-level window is created as a child of the root, the
        // window manager's frames and the programs' own windows alike.
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_c, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_c);
        m_ready = true;
    }
    ~WindowWatcher() { xcb_disconnect(m_c); }

    bool ready() const { return m_ready; }

    // Starts `argv` and waits for its window titled `title` to be mapped and
    // drawn; nothing when the program died or never showed it in time.
    std::optional<Sample> measure(const std::vector<std::string> &argv,
                                  const std::vector<std::string> &env, const std::string &title,
                                  const std::string &log, bool atRest = false)
    {
        drain(0ms);
        m_candidates.clear();
        m_target = XCB_WINDOW_NONE;
        m_mapped = {};
        m_shown = {};

        const Clock::time_point start = Clock::now();
        const pid_t pid = spawn(argv, env, log);
        if (!pid)
            return std::nullopt;
        m_pid = pid;
        m_title = title;

        while (!m_shown && Clock::now() - start < kRunTimeout && !exited(pid))
            drain(100ms);
        if (!m_shown) {
            stopProcess(pid, SIGKILL);
            return std::nullopt;
        }
        Sample sample;
        sample.mappedMs = millisecondsBetween(start, *m_mapped);
        sample.shownMs = millisecondsBetween(start, *m_shown);

        // Let the program finish what it does after its first paint.
        const auto settleEnd = *m_shown + kSettle;
        while (Clock::now() < settleEnd)
            drain(std::chrono::duration_cast<std::chrono::milliseconds>(settleEnd - Clock::now()));
        sample.memory = readMemory(pid, argv.front());
        if (atRest) {
            const Activity before = readActivity(pid);
            drain(std::chrono::duration_cast<std::chrono::milliseconds>(kRest));
            const Activity after = readActivity(pid);
            sample.rest = {after.switches - before.switches, after.cpuMs - before.cpuMs};
        }

        // Killed, so that nothing the program does on closing (saving its
        // settings) runs.
        stopProcess(pid, SIGKILL);
        drain(200ms);
        return sample;
    }

private:
    xcb_atom_t atom(const char *name)
    {
        xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(
            m_c, xcb_intern_atom(m_c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    }

    std::string property(xcb_window_t w, xcb_atom_t prop, xcb_atom_t type)
    {
        xcb_get_property_reply_t *r =
            xcb_get_property_reply(m_c, xcb_get_property(m_c, 0, w, prop, type, 0, 1024), nullptr);
        std::string value;
        if (r)
            value.assign(static_cast<const char *>(xcb_get_property_value(r)),
                         size_t(xcb_get_property_value_length(r)));
        free(r);
        return value;
    }

    uint32_t windowPid(xcb_window_t w)
    {
        const std::string v = property(w, m_netWmPid, XCB_ATOM_CARDINAL);
        uint32_t pid = 0;
        if (v.size() >= sizeof pid)
            std::memcpy(&pid, v.data(), sizeof pid);
        return pid;
    }

    // Handles the events that arrive within `wait`, or until the window is
    // shown while a run is waiting for it.
    void drain(std::chrono::milliseconds wait)
    {
        const auto end = Clock::now() + wait;
        for (;;) {
            while (xcb_generic_event_t *e = xcb_poll_for_event(m_c)) {
                const Clock::time_point at = Clock::now();
                handle(e, at);
                free(e);
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            if (left <= 0ms || xcb_connection_has_error(m_c))
                return;
            pollfd fd{xcb_get_file_descriptor(m_c), POLLIN, 0};
            poll(&fd, 1, int(left.count()) + 1);
        }
    }

    void handle(xcb_generic_event_t *e, Clock::time_point at)
    {
        const uint8_t type = e->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            auto *ev = reinterpret_cast<xcb_create_notify_event_t *>(e);
            if (ev->parent != m_root)
                return;
            // Follow the window through a window manager's reparenting, and
            // have the server report the first drawing into it.
            const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_change_window_attributes(m_c, ev->window, XCB_CW_EVENT_MASK, &mask);
            xcb_damage_create(m_c, xcb_generate_id(m_c), ev->window,
                              XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(m_c);
            m_candidates.insert(ev->window);
        } else if (type == XCB_MAP_NOTIFY) {
            auto *ev = reinterpret_cast<xcb_map_notify_event_t *>(e);
            if (m_target != XCB_WINDOW_NONE || !m_candidates.contains(ev->window))
                return;
            // The program set its title and process id before asking for the
            // map, so both are there now.
            if (windowPid(ev->window) != uint32_t(m_pid) ||
                property(ev->window, m_netWmName, m_utf8) != m_title)
                return;
            m_target = ev->window;
            m_mapped = at;
        } else if (type == XCB_DESTROY_NOTIFY) {
            m_candidates.erase(reinterpret_cast<xcb_destroy_notify_event_t *>(e)->window);
        } else if (m_damageNotify && type == m_damageNotify) {
            auto *ev = reinterpret_cast<xcb_damage_notify_event_t *>(e);
            if (m_target != XCB_WINDOW_NONE && ev->drawable == m_target && !m_shown)
                m_shown = at;
            // Re-arm, so that drawing after the map is reported even where
            // something was drawn before it.
            xcb_damage_subtract(m_c, ev->damage, XCB_NONE, XCB_NONE);
            xcb_flush(m_c);
        }
    }

    xcb_connection_t *m_c = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    bool m_ready = false;
    uint8_t m_damageNotify = 0;
    xcb_atom_t m_netWmName = XCB_ATOM_NONE;
    xcb_atom_t m_utf8 = XCB_ATOM_NONE;
    xcb_atom_t m_netWmPid = XCB_ATOM_NONE;

    std::set<xcb_window_t> m_candidates;
    pid_t m_pid = 0;
    std::string m_title;
    xcb_window_t m_target = XCB_WINDOW_NONE;
    std::optional<Clock::time_point> m_mapped;
    std::optional<Clock::time_point> m_shown;
};

// ---------------------------------------------------------------------------
// The cases

// A settings file asking for `count` swatches, with a stored colour for each
// as a box that has been used for a while holds them.
std::string settingsText(int count)
{
    std::string text = "[APPSET]\r\nnColor=" + std::to_string(count) + "\r\n[COLOR]\r\n";
    uint32_t state = 12345;
    for (int i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        text +=
            "Color" + std::to_string(i) + "=" + std::to_string((state >> 8) & 0xFFFFFF) + "\r\n";
    }
    return text;
}

struct Case
{
    std::string label;
    std::string program;
    std::string title;
    // Written beside the program before every run; empty for none.
    std::string ini;
    std::vector<Sample> samples;
    int failures = 0;
    std::optional<Activity> rest;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double best(const std::vector<double> &v)
{
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

template <typename Field> std::vector<double> column(const Case &c, Field field)
{
    std::vector<double> v;
    for (const Sample &s : c.samples)
        v.push_back(field(s));
    return v;
}

// A copy of the program alone in its own folder, so that the settings file it
// reads beside itself is the benchmark's and no other.
bool copyProgram(const fs::path &from, const fs::path &folder, std::string &copy)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path to = folder / from.filename();
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec)
        return false;
    fs::permissions(to, fs::perms::owner_all, fs::perm_options::add, ec);
    if (ec)
        return false;
    // A file just written stays in the page cache as dirty pages until it
    // reaches the disk, and a process mapping it counts those pages as its
    // own private dirty memory: written back first, the copy's code counts
    // as the baseline's does.
    const int fd = open(to.c_str(), O_RDONLY);
    const bool synced = fd >= 0 && fdatasync(fd) == 0;
    if (fd >= 0)
        close(fd);
    copy = to.string();
    return synced;
}

void writeFile(const fs::path &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::string reference = argc > 1 ? argv[1] : "";
    if (!reference.empty() && access(reference.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "bench_startup: %s is no program to run\n", reference.c_str());
        return 2;
    }
    char pattern[] = "/tmp/tintavo-startup-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::puts("bench_startup: no temporary folder, skipped");
        return 0;
    }
    const fs::path work = pattern;
    const std::string log = (work / "programs.log").string();

    XServer server;
    if (!startPrivateServer(server, log)) {
        stopProcess(server.wm, SIGTERM);
        stopProcess(server.xvfb, SIGTERM);
        server.wm = server.xvfb = 0;
        const char *display = std::getenv("DISPLAY");
        if (!display || !*display) {
            std::puts(
                "bench_startup: no X server (neither Xvfb with openbox nor DISPLAY), skipped");
            fs::remove_all(work);
            return 0;
        }
        server.display = display;
        server.description = "display " + server.display + " (no private Xvfb with openbox)";
    }

    // The baseline, then each build with 64 and with 32768 swatches.
    std::vector<Case> cases{
        {"Chinese label window", BASELINE_PROGRAM, kBaselineTitle, "", {}, 0, {}}};
    const std::pair<const char *, std::string> builds[] = {{"tintavo", TINTAVO_PROGRAM},
                                                           {"reference", reference}};
    for (const auto &[name, program] : builds) {
        for (const int swatches : {64, 32768}) {
            if (program.empty())
                continue;
            Case c{std::string(name) + ", " + std::to_string(swatches) + " swatches",
                   "",
                   kProgramTitle,
                   settingsText(swatches),
                   {},
                   0,
                   {}};
            const fs::path folder = work / (std::string(name) + std::to_string(swatches));
            if (!copyProgram(program, folder, c.program)) {
                std::printf("bench_startup: cannot copy %s, skipped\n", program.c_str());
                fs::remove_all(work);
                return 0;
            }
            cases.push_back(std::move(c));
        }
    }

    WindowWatcher watcher(server.display);
    if (!watcher.ready()) {
        std::printf("bench_startup: cannot watch windows on %s (no DAMAGE extension?), skipped\n",
                    server.display.c_str());
        fs::remove_all(work);
        return 0;
    }
    const std::vector<std::string> env = childEnvironment(server.display);

    // One unmeasured start each fills the file caches; then the cases take
    // turns, so that whatever else the machine does falls on all of them. The
    // last start of each is watched at rest.
    for (int run = -1; run <= kRuns; ++run) {
        for (Case &c : cases) {
            if (!c.ini.empty())
                writeFile(fs::path(c.program).parent_path() / "Tintavo.ini", c.ini);
            const bool atRest = run == kRuns;
            const std::optional<Sample> s = watcher.measure({c.program}, env, c.title, log, atRest);
            if (!s)
                ++c.failures;
            else if (atRest)
                c.rest = s->rest;
            else if (run >= 0)
                c.samples.push_back(*s);
        }
    }

    std::printf("Start-up to the main window shown, and memory then; %d runs each on the %s.\n"
                "shown = first drawing into the mapped window (X DAMAGE); mapped = its MapNotify;\n"
                "memory (/proc/PID/smaps_rollup) read %lld ms after shown. Medians; times from\n"
                "process start in ms, memory in MiB; x = against the Chinese label window.\n\n",
                kRuns, server.description.c_str(), static_cast<long long>(kSettle.count()));
    if (!reference.empty())
        std::printf("reference = %s\n\n", reference.c_str());
    std::printf("%-26s %8s %7s %8s %7s %7s %7s %8s %7s\n", "program", "shown", "best", "mapped",
                "time x", "RSS", "RSS x", "private", "priv x");

    const auto shown = [](const Sample &s) { return s.shownMs; };
    const auto mapped = [](const Sample &s) { return s.mappedMs; };
    const auto rss = [](const Sample &s) { return s.memory.rssKb / 1024.0; };
    const auto dirty = [](const Sample &s) { return s.memory.privateDirtyKb / 1024.0; };
    // Per case: time, RSS and private dirty against the baseline.
    struct Ratios
    {
        double time = 0, rss = 0, dirty = 0;
    };
    const auto ratio = [](double v, double base) { return base > 0 ? v / base : 0; };
    const double baseTime = median(column(cases[0], shown));
    const double baseRss = median(column(cases[0], rss));
    const double baseDirty = median(column(cases[0], dirty));
    std::vector<Ratios> ratios;
    for (const Case &c : cases) {
        if (c.samples.empty()) {
            std::printf("%-26s   no window shown in %d tries (see %s)\n", c.label.c_str(),
                        c.failures, log.c_str());
            ratios.emplace_back();
            continue;
        }
        const double t = median(column(c, shown));
        const double m = median(column(c, rss));
        const double d = median(column(c, dirty));
        ratios.push_back({ratio(t, baseTime), ratio(m, baseRss), ratio(d, baseDirty)});
        std::printf("%-26s %8.1f %7.1f %8.1f %7.2f %7.1f %7.2f %8.1f %7.2f\n", c.label.c_str(), t,
                    best(column(c, shown)), median(column(c, mapped)), ratios.back().time, m,
                    ratios.back().rss, d, ratios.back().dirty);
        if (c.failures)
            std::printf("%-26s   (%d tries showed no window)\n", "", c.failures);
    }

    std::printf("\nThe program's own code mapped then, median of %d (nearly all of it: the\n"
                "start-up code is not laid out together; src/app/startup_order.txt is stale,\n"
                "or the build had no lld):\n",
                kRuns);
    for (size_t i = 1; i < cases.size(); ++i) {
        const Case &c = cases[i];
        if (c.samples.empty())
            continue;
        const auto code = [](const Sample &s) { return double(s.memory.ownCodeKb); };
        std::printf("  %-26s %5.0f of %ld KiB\n", c.label.c_str(), median(column(c, code)),
                    c.samples.front().memory.ownCodeSizeKb);
    }

    std::printf("\nAt rest, pointer still, nothing opened: over %lld s after start-up\n",
                static_cast<long long>(kRest.count()));
    for (const Case &c : cases) {
        if (c.rest)
            std::printf("  %-26s %5ld wake-ups (context switches, all threads), CPU %.0f ms\n",
                        c.label.c_str(), c.rest->switches, c.rest->cpuMs);
        else
            std::printf("  %-26s not measured (no window shown)\n", c.label.c_str());
    }

    // Each target for the build's case with that many swatches (the first of
    // its two cases, or the second), with the reference's beside it.
    struct Target
    {
        const char *what;
        size_t caseOffset;
        double Ratios::*figure;
        double limit;
    };
    const Target targets[] = {
        {"64 swatches, time to first paint", 0, &Ratios::time, 1.3},
        {"64 swatches, private dirty", 0, &Ratios::dirty, 1.3},
        {"64 swatches, resident (RSS)", 0, &Ratios::rss, 1.2},
        {"32768 swatches, time to first paint", 1, &Ratios::time, 1.5},
        {"32768 swatches, private dirty", 1, &Ratios::dirty, 1.5},
        {"32768 swatches, resident (RSS)", 1, &Ratios::rss, 1.5},
    };
    const bool compared = cases.size() > 3;
    std::printf("\nTargets against the Chinese label window (informational):\n  %-36s %7s %14s%s\n",
                "", "target", "this build", compared ? "      reference" : "");
    const auto figure = [&](size_t index, double Ratios::*field, double limit) {
        const double r = ratios[index].*field;
        char text[32] = "UNKNOWN";
        if (r > 0 && !cases[0].samples.empty())
            std::snprintf(text, sizeof text, "%.2fx %s", r, r <= limit ? "PASS" : "MISS");
        return std::string(text);
    };
    for (const Target &t : targets) {
        std::printf("  %-36s %6.1fx %14s", t.what, t.limit,
                    figure(1 + t.caseOffset, t.figure, t.limit).c_str());
        if (compared)
            std::printf(" %14s", figure(3 + t.caseOffset, t.figure, t.limit).c_str());
        std::puts("");
    }

    fs::remove_all(work);
    return 0;
}
