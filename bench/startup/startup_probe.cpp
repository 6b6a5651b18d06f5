// Times programs' start on an X display: from just before the process is spawned to the moment its
// top-level window of the given size is mapped, and to the moment the window's background colour
// shows at a given point (its first paint). A window of the given width and more height counts too:
// the extra is a menu bar above a client area of the given size, and the point moves down by it.
// Each case is a program started in a folder; the cases take turns run by run, so a busy machine
// weighs on all of them alike. Prints each case's median, minimum and maximum, and the medians of
// its run-by-run ratios to the first and second cases.
//
//   startup_probe [--runs N] [--size WxH] [--point X,Y] [--colour RRGGBB] --case LABEL FOLDER PROGRAM ...
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Case {
    std::string label;
    std::string folder;
    std::string program;
};

struct Options {
    int runs = 11;
    int width = 799;
    int height = 556;
    int pointX = 650;
    int pointY = 385;
    unsigned long colour = 0x40A0D0;
    std::vector<Case> cases;
};

struct Sample {
    double mappedMs;
    double paintedMs;
};

constexpr auto Timeout = std::chrono::seconds(20);

[[noreturn]] void fail(const std::string& text) {
    std::fprintf(stderr, "startup_probe: %s\n", text.c_str());
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options options;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        auto value = [&]() -> std::string {
            if (k + 1 >= argc)
                fail(arg + " needs a value");
            return argv[++k];
        };
        if (arg == "--runs") {
            options.runs = std::max(1, std::atoi(value().c_str()));
        } else if (arg == "--size") {
            if (std::sscanf(value().c_str(), "%dx%d", &options.width, &options.height) != 2)
                fail("--size WxH");
        } else if (arg == "--point") {
            if (std::sscanf(value().c_str(), "%d,%d", &options.pointX, &options.pointY) != 2)
                fail("--point X,Y");
        } else if (arg == "--colour") {
            options.colour = std::strtoul(value().c_str(), nullptr, 16);
        } else if (arg == "--case") {
            Case c;
            c.label = value();
            c.folder = value();
            c.program = value();
            options.cases.push_back(c);
        } else {
            fail("unknown option " + arg);
        }
    }
    if (options.cases.empty())
        fail("no --case given");
    return options;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The next event within the time left; nullopt when the time ran out.
std::optional<XEvent> nextEvent(Display* display, Clock::time_point deadline) {
    while (XPending(display) == 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return std::nullopt;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(std::min<long long>(left, 50)));
    }
    XEvent event;
    XNextEvent(display, &event);
    return event;
}

// The height above the client area of the given size (0 for a window of that very size); nullopt
// for a window of another size and for pop-ups.
std::optional<int> extraHeight(Display* display, Window window, int width, int height) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0)
        return std::nullopt;
    if (attributes.override_redirect != False || attributes.width != width || attributes.height < height)
        return std::nullopt;
    return attributes.height - height;
}

// Swallows the errors of windows that vanish between the event and the query.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

unsigned long pixelAt(Display* display, Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return ~0UL;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

Sample measureOnce(Display* display, const Options& options, const Case& c) {
    const Window root = DefaultRootWindow(display);
    XSync(display, True); // drop what earlier runs left

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, c.folder.c_str());
    std::string program = c.program;
    char* arguments[] = {program.data(), nullptr};

    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        fail("cannot start " + c.program + " in " + c.folder);

    const Clock::time_point deadline = start + Timeout;
    std::optional<Sample> sample;
    while (!sample) {
        const std::optional<XEvent> event = nextEvent(display, deadline);
        if (!event)
            break;
        if (event->type != MapNotify || event->xmap.event != root)
            continue;
        const Window window = event->xmap.window;
        const std::optional<int> extra = extraHeight(display, window, options.width, options.height);
        if (!extra)
            continue;
        const double mapped = msSince(start);
        // Polled: the first paint leaves no event of its own on a plain X server.
        const int pointY = options.pointY + *extra;
        while (Clock::now() < deadline && pixelAt(display, window, options.pointX, pointY) != options.colour)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (Clock::now() >= deadline)
            break;
        sample = Sample{mapped, msSince(start)};
    }

    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    if (!sample)
        fail("no window of " + std::to_string(options.width) + "x" + std::to_string(options.height) +
             " painted within the time-out: " + c.program);
    return *sample;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        fail("cannot open the X display (is DISPLAY set?)");
    XSetErrorHandler(ignoreErrors);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    // One unmeasured run of each first, so every measured run finds the same warm file cache.
    for (const Case& c : options.cases)
        measureOnce(display, options, c);
    std::vector<std::vector<Sample>> samples(options.cases.size());
    for (int run = 0; run < options.runs; ++run) {
        for (size_t k = 0; k < options.cases.size(); ++k) {
            samples[k].push_back(measureOnce(display, options, options.cases[k]));
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }

    // Paired ratios: each run against the other cases' runs of the same round.
    auto ratio = [&](size_t k, size_t base, double Sample::*field) {
        std::vector<double> ratios;
        for (size_t run = 0; run < samples[k].size(); ++run)
            ratios.push_back(samples[k][run].*field / samples[base][run].*field);
        return median(ratios);
    };
    const size_t second = options.cases.size() > 1 ? 1 : 0;
    std::printf("%d runs each; ms from process start: median (min..max); ratios: median of the run-by-run ratios\n",
                options.runs);
    std::printf("%-14s %-22s %-22s %-9s %-9s %-9s %-9s\n", "case", "mapped", "painted", "m/first", "p/first",
                "m/second", "p/second");
    for (size_t k = 0; k < options.cases.size(); ++k) {
        std::vector<double> mapped;
        std::vector<double> painted;
        for (const Sample& sample : samples[k]) {
            mapped.push_back(sample.mappedMs);
            painted.push_back(sample.paintedMs);
        }
        auto shown = [](const std::vector<double>& values) {
            char text[64];
            std::snprintf(text, sizeof text, "%6.1f (%5.1f..%5.1f)", median(values),
                          *std::min_element(values.begin(), values.end()),
                          *std::max_element(values.begin(), values.end()));
            return std::string(text);
        };
        std::printf("%-14s %-22s %-22s %-9.3f %-9.3f %-9.3f %-9.3f\n", options.cases[k].label.c_str(),
                    shown(mapped).c_str(), shown(painted).c_str(), ratio(k, 0, &Sample::mappedMs),
                    ratio(k, 0, &Sample::paintedMs), ratio(k, second, &Sample::mappedMs),
                    ratio(k, second, &Sample::paintedMs));
    }
    XCloseDisplay(display);
    return 0;
}
