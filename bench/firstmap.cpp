// firstmap PROGRAM [ARG...]: starts the program on $DISPLAY and prints two figures, the
// milliseconds from exec until it maps its first top-level window and its resident memory (kB)
// one second later; then ends it. Exits 1 when no window shows within ten seconds.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long residentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

// Waits for a MapNotify of a child of the root window, which without a window manager is a
// top-level window of the only client on the server.
bool waitForMap(xcb_connection_t* x, Clock::time_point deadline) {
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped) {
                return true;
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || xcb_connection_has_error(x)) {
            return false;
        }
        poll(&fd, 1, static_cast<int>(left.count()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: firstmap PROGRAM [ARG...]\n");
        return 2;
    }
    // A server still tearing down the previous program's connection may refuse a new one.
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    for (int attempt = 0; xcb_connection_has_error(x) && attempt < 50; ++attempt) {
        xcb_disconnect(x);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        x = xcb_connect(nullptr, nullptr);
    }
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "firstmap: cannot open the display\n");
        return 2;
    }
    fcntl(xcb_get_file_descriptor(x), F_SETFD, FD_CLOEXEC);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask));

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    const bool mapped = waitForMap(x, start + std::chrono::seconds(10));
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (mapped) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        std::printf("%.1f %ld\n", ms, residentKb(pid));
    } else {
        std::fprintf(stderr, "firstmap: %s mapped no window within 10 s\n", argv[1]);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(x);
    return mapped ? 0 : 1;
}
