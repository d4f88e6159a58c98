// How long a window leaves the X server waiting: sends _NET_WM_PING to it without pause and
// times each answer. A Qt window answers a ping from its event loop only, so the longest round
// trip is the longest time the window could not take an event (repaint, move, close).
//
//   ping_probe WINDOW_ID SECONDS
//
// Prints the number of pings, the median and the longest round trip in milliseconds, and on
// standard error each round trip over 50 ms with the time it began, from the probe's start.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void SendPing(Display* display, Window window, Atom protocols, Atom ping, long serial) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(ping);
    event.xclient.data.l[1] = serial;  // stands in for the time stamp; sent back unchanged
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// Waits for the answer to ping `serial`, which the window sends to the root window.
bool AwaitPong(Display* display, Window root, Atom protocols, Atom ping, long serial,
               Clock::time_point deadline) {
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && event.xclient.window == root &&
                event.xclient.message_type == protocols &&
                static_cast<Atom>(event.xclient.data.l[0]) == ping &&
                event.xclient.data.l[1] == serial) {
                return true;
            }
        }
        const double left = Milliseconds(deadline - Clock::now());
        if (left <= 0) {
            return false;
        }
        poll(&fd, 1, static_cast<int>(left) + 1);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: ping_probe WINDOW_ID SECONDS\n", stderr);
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const auto length = std::chrono::duration<double>(std::atof(argv[2]));
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("ping_probe: no display\n", stderr);
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    // The answer goes to the root window for its structure listeners.
    XSelectInput(display, root, StructureNotifyMask);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);

    std::vector<double> trips;
    const Clock::time_point start = Clock::now();
    const Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(length);
    for (long serial = 1; Clock::now() < end; ++serial) {
        const Clock::time_point sent = Clock::now();
        SendPing(display, window, protocols, ping, serial);
        // No answer within a minute: the window is gone or does not take pings.
        if (!AwaitPong(display, root, protocols, ping, serial, sent + std::chrono::seconds(60))) {
            std::fputs("ping_probe: no answer within 60 s\n", stderr);
            return 1;
        }
        trips.push_back(Milliseconds(Clock::now() - sent));
        if (trips.back() > 50) {
            std::fprintf(stderr, "at %.0f ms: %.1f ms\n", Milliseconds(sent - start), trips.back());
        }
        poll(nullptr, 0, 2);  // a short pause, so that the probe does not busy the window
    }
    if (trips.empty()) {
        return 1;
    }
    std::vector<double> sorted = trips;
    std::sort(sorted.begin(), sorted.end());
    std::printf("pings %zu  median %.1f ms  longest %.1f ms\n", sorted.size(),
                sorted[sorted.size() / 2], sorted.back());
    XCloseDisplay(display);
    return 0;
}
