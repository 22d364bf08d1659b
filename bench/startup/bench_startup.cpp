// Start-up and peak memory of the real executable beside a bare Qt window.
//
// Each program is started as a user starts it, on the X server in $DISPLAY
// (with a window manager): ZOR-Quorvane with a report of 200 masters on its
// command line and its own data folder, so the recovery check runs as it
// does for a user. The figures are the time from the start to the main
// window mapped (the window manager put it on the screen) and to its first
// drawing in it (seen through the X server's DAMAGE extension), and the peak
// resident memory from wait4 once the window has been closed the way a
// window manager closes it (WM_DELETE_WINDOW), with the processor time it
// used from start to end. The two programs run in
// alternating pairs after one pair that is not counted; the medians and
// their ratios are printed, one figure per line.
//
// Usage: bench_startup [--pairs N] PROGRAM BARE_WINDOW

#include "reportfile/reportwriter.h"
#include "tests/support/samplereport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

struct Sample
{
    double mappedMs = 0;
    double drawnMs = 0;
    double cpuMs = 0; // user and system time of the whole run, window closed included
    long maxRssKb = 0;
};

// One program to start: its arguments and its environment.
struct Launch
{
    std::string name;
    std::vector<std::string> args;
    std::vector<std::string> env;
};

template<typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template<typename T>
Reply<T> reply(T *r)
{
    return Reply<T>(r, &std::free);
}

// Watches the X server for the started program's main window.
class XWatch
{
public:
    bool open(std::string *why)
    {
        m_c = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_c)) {
            *why = "no X server (DISPLAY)";
            return false;
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        const xcb_query_extension_reply_t *damage = xcb_get_extension_data(m_c, &xcb_damage_id);
        if (!damage || !damage->present) {
            *why = "the X server has no DAMAGE extension";
            return false;
        }
        m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        reply(xcb_damage_query_version_reply(m_c, xcb_damage_query_version(m_c, 1, 1), nullptr));
        m_pidAtom = atom("_NET_WM_PID");
        m_protocols = atom("WM_PROTOCOLS");
        m_delete = atom("WM_DELETE_WINDOW");
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_c, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_c);
        return true;
    }

    ~XWatch()
    {
        if (m_c)
            xcb_disconnect(m_c);
    }

    std::optional<Sample> run(const Launch &launch, std::string *why)
    {
        while (xcb_generic_event_t *e = xcb_poll_for_event(m_c))
            std::free(e);

        std::vector<char *> argv, envp;
        for (const std::string &a : launch.args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        for (const std::string &v : launch.env)
            envp.push_back(const_cast<char *>(v.c_str()));
        envp.push_back(nullptr);

        const Clock::time_point t0 = Clock::now();
        pid_t pid = 0;
        if (const int err = posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(),
                                        envp.data())) {
            *why = std::string("cannot start ") + argv[0] + ": " + std::strerror(err);
            return std::nullopt;
        }

        Sample s;
        xcb_window_t main = XCB_NONE;
        std::vector<xcb_damage_damage_t> damages;
        bool drawn = false, closeSent = false, exited = false;
        int status = 0;
        rusage usage{};
        while (!exited) {
            const pid_t done = wait4(pid, &status, WNOHANG, &usage);
            if (done == pid) {
                exited = true;
                break;
            }
            pollfd p{xcb_get_file_descriptor(m_c), POLLIN, 0};
            poll(&p, 1, 5);
            while (xcb_generic_event_t *e = xcb_poll_for_event(m_c)) {
                const uint8_t type = e->response_type & 0x7f;
                if (type == XCB_CREATE_NOTIFY) {
                    // Watched from its creation: the map inside a window
                    // manager's frame, and the first drawing in it.
                    const auto *c = reinterpret_cast<xcb_create_notify_event_t *>(e);
                    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
                    xcb_change_window_attributes(m_c, c->window, XCB_CW_EVENT_MASK, &mask);
                    if (c->parent == m_root) {
                        const xcb_damage_damage_t d = xcb_generate_id(m_c);
                        xcb_damage_create(m_c, d, c->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                        damages.push_back(d);
                    }
                    xcb_flush(m_c);
                } else if (type == XCB_MAP_NOTIFY && main == XCB_NONE) {
                    const auto *m = reinterpret_cast<xcb_map_notify_event_t *>(e);
                    main = ownViewableWindow(m->window, pid, 0);
                    if (main != XCB_NONE)
                        s.mappedMs = msSince(t0);
                } else if (type == m_damageEvent && main != XCB_NONE && !drawn) {
                    const auto *d = reinterpret_cast<xcb_damage_notify_event_t *>(e);
                    if (d->drawable == main) {
                        s.drawnMs = msSince(t0);
                        drawn = true;
                    }
                }
                std::free(e);
            }
            if (xcb_connection_has_error(m_c)) {
                *why = "lost the X server";
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                return std::nullopt;
            }
            const double now = msSince(t0);
            if (!closeSent && main != XCB_NONE && (drawn || now - s.mappedMs > 5000)) {
                closeWindow(main);
                closeSent = true;
            }
            if (now > 30000) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                *why = main == XCB_NONE ? "no main window within 30 s"
                                        : "did not end within 30 s of its window closed";
                return std::nullopt;
            }
        }
        for (const xcb_damage_damage_t d : damages)
            xcb_damage_destroy(m_c, d);
        xcb_flush(m_c);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            *why = "ended with status " + std::to_string(status);
            return std::nullopt;
        }
        if (main == XCB_NONE || !drawn) {
            *why = main == XCB_NONE ? "ended without showing a window"
                                    : "its window was mapped but never drawn";
            return std::nullopt;
        }
        s.maxRssKb = usage.ru_maxrss;
        const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
        s.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
        return s;
    }

private:
    xcb_atom_t atom(const char *name)
    {
        auto r = reply(xcb_intern_atom_reply(
                m_c, xcb_intern_atom(m_c, 0, uint16_t(std::strlen(name)), name), nullptr));
        return r ? r->atom : XCB_NONE;
    }

    // The window of the program `pid` in w's tree that is on the screen.
    xcb_window_t ownViewableWindow(xcb_window_t w, pid_t pid, int depth)
    {
        auto prop = reply(xcb_get_property_reply(
                m_c, xcb_get_property(m_c, 0, w, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
        if (prop && xcb_get_property_value_length(prop.get()) == 4
            && *static_cast<uint32_t *>(xcb_get_property_value(prop.get())) == uint32_t(pid)) {
            auto attrs = reply(xcb_get_window_attributes_reply(
                    m_c, xcb_get_window_attributes(m_c, w), nullptr));
            if (attrs && attrs->map_state == XCB_MAP_STATE_VIEWABLE && !attrs->override_redirect)
                return w;
            return XCB_NONE;
        }
        if (depth >= 3)
            return XCB_NONE;
        auto tree = reply(xcb_query_tree_reply(m_c, xcb_query_tree(m_c, w), nullptr));
        if (!tree)
            return XCB_NONE;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            if (const xcb_window_t own = ownViewableWindow(children[i], pid, depth + 1))
                return own;
        }
        return XCB_NONE;
    }

    // What a window manager sends when the user closes the window.
    void closeWindow(xcb_window_t w)
    {
        xcb_client_message_event_t m{};
        m.response_type = XCB_CLIENT_MESSAGE;
        m.format = 32;
        m.window = w;
        m.type = m_protocols;
        m.data.data32[0] = m_delete;
        m.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_c, 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&m));
        xcb_flush(m_c);
    }

    xcb_connection_t *m_c = nullptr;
    xcb_window_t m_root = XCB_NONE;
    uint8_t m_damageEvent = 0;
    xcb_atom_t m_pidAtom = XCB_NONE, m_protocols = XCB_NONE, m_delete = XCB_NONE;
};

template<typename T>
T median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Figures
{
    std::vector<double> mapped, drawn, cpu;
    std::vector<long> rss;
    void add(const Sample &s)
    {
        mapped.push_back(s.mappedMs);
        drawn.push_back(s.drawnMs);
        cpu.push_back(s.cpuMs);
        rss.push_back(s.maxRssKb);
    }
};

void printMs(const char *name, const std::vector<double> &v)
{
    std::printf("%s %.1f (%.1f to %.1f)\n", name, median(v), *std::min_element(v.begin(), v.end()),
                *std::max_element(v.begin(), v.end()));
}

// The caller's environment for the X server, with the program's own data
// folder and the X platform whatever the caller chose; a runtime folder as a
// desktop session has one, when the caller has none.
std::vector<std::string> environment(const QDir &dir)
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        const std::string v = *e;
        if (v.rfind("XDG_DATA_HOME=", 0) != 0 && v.rfind("QT_QPA_PLATFORM=", 0) != 0)
            env.push_back(v);
    }
    env.push_back("XDG_DATA_HOME=" + dir.filePath(QStringLiteral("data")).toStdString());
    env.push_back("QT_QPA_PLATFORM=xcb");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = dir.filePath(QStringLiteral("runtime"));
        dir.mkdir(QStringLiteral("runtime"));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.push_back("XDG_RUNTIME_DIR=" + runtime.toStdString());
    }
    return env;
}

} // namespace

int main(int argc, char **argv)
{
    int pairs = 20;
    int arg = 1;
    if (arg + 1 < argc && std::strcmp(argv[arg], "--pairs") == 0) {
        pairs = std::max(1, std::atoi(argv[arg + 1]));
        arg += 2;
    }
    if (argc - arg != 2) {
        std::fprintf(stderr, "usage: %s [--pairs N] PROGRAM BARE_WINDOW\n", argv[0]);
        return 2;
    }

    QTemporaryDir dir;
    const QString report = dir.filePath(QStringLiteral("Bericht 2025.zor"));
    if (!dir.isValid() || !zor::saveReport(report, zortest::sampleReport(200))) {
        std::fprintf(stderr, "cannot write the sample report\n");
        return 1;
    }
    const std::vector<std::string> env = environment(QDir(dir.path()));
    const Launch program{"program", {argv[arg], report.toStdString()}, env};
    const Launch bare{"bare_window", {argv[arg + 1]}, env};

    XWatch x;
    std::string why;
    if (!x.open(&why)) {
        std::fprintf(stderr, "bench_startup: %s\n", why.c_str());
        return 1;
    }
    Figures programFigures, bareFigures;
    // Pair 0 warms the caches (fonts, libraries, the data folder) and is not counted.
    for (int i = 0; i <= pairs; ++i) {
        const bool programFirst = i % 2 == 1;
        for (const Launch *l :
             programFirst ? std::vector{&program, &bare} : std::vector{&bare, &program}) {
            const std::optional<Sample> s = x.run(*l, &why);
            if (!s) {
                std::fprintf(stderr, "bench_startup: %s: %s\n", l->name.c_str(), why.c_str());
                return 1;
            }
            if (i > 0)
                (l == &program ? programFigures : bareFigures).add(*s);
        }
    }

    std::printf("startup_pairs %d\n", pairs);
    std::printf("# milliseconds from the start: median (least to most)\n");
    printMs("startup_mapped_bare_window_ms", bareFigures.mapped);
    printMs("startup_mapped_program_ms", programFigures.mapped);
    std::printf("startup_mapped_ratio %.2f (target <= 1.2)\n",
                median(programFigures.mapped) / median(bareFigures.mapped));
    printMs("startup_drawn_bare_window_ms", bareFigures.drawn);
    printMs("startup_drawn_program_ms", programFigures.drawn);
    std::printf("startup_drawn_ratio %.2f\n",
                median(programFigures.drawn) / median(bareFigures.drawn));
    // Less disturbed by other work on the machine than the wall times.
    printMs("cpu_time_bare_window_ms", bareFigures.cpu);
    printMs("cpu_time_program_ms", programFigures.cpu);
    std::printf("cpu_time_ratio %.2f\n", median(programFigures.cpu) / median(bareFigures.cpu));
    std::printf("peak_rss_bare_window_kb %ld\n", median(bareFigures.rss));
    std::printf("peak_rss_program_kb %ld\n", median(programFigures.rss));
    std::printf("peak_rss_ratio %.2f (target <= 1.15)\n",
                double(median(programFigures.rss)) / double(median(bareFigures.rss)));
    return 0;
}
