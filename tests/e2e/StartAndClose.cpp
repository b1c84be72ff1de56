// Starts the built program on this machine's MIB, waits for its main window,
// closes it as a window manager's close button does (WM_DELETE_WINDOW), and
// checks that the program ends with exit status 0.
//
// Usage: start_and_close PROGRAM. Without a display it runs itself again
// under xvfb-run.
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

int fail(const char *what)
{
    std::fprintf(stderr, "start_and_close: %s\n", what);
    return 1;
}

// Other programs on the display (tests run in parallel) may destroy a window
// between listing and inspecting it: such errors are expected, not fatal.
int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

// A window property as bytes (8-bit) or as one 32-bit number, empty if absent.
std::string property(Display *display, Window window, const char *name, const char *typeName)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    std::string value;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False,
                           XInternAtom(display, typeName, False), &type, &format, &count, &after,
                           &data) == Success && data) {
        if (format == 8)
            value.assign(reinterpret_cast<char *>(data), count);
        else if (format == 32 && count == 1)
            value = std::to_string(*reinterpret_cast<unsigned long *>(data));
        XFree(data);
    }
    return value;
}

// The mapped top-level window of the given process with the given title, or 0.
// The title as GTK sets it (UTF-8 _NET_WM_NAME), the process by _NET_WM_PID:
// the GUI tests open windows with the same title on the same display.
Window findWindow(Display *display, pid_t pid, const std::string &title)
{
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable &&
            property(display, children[i], "_NET_WM_PID", "CARDINAL") == std::to_string(pid) &&
            property(display, children[i], "_NET_WM_NAME", "UTF8_STRING") == title)
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

void sendClose(Display *display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// Waits for the child to end; false when it is still running at the deadline.
bool waitForExit(pid_t child, Clock::time_point deadline, int &status)
{
    while (Clock::now() < deadline) {
        if (waitpid(child, &status, WNOHANG) == child)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2)
        return fail("usage: start_and_close PROGRAM");
    if (!std::getenv("DISPLAY")) {
        if (std::getenv("OIDSCOPE_NO_XVFB"))
            return fail("no display");
        setenv("OIDSCOPE_NO_XVFB", "1", 1);
        execlp("xvfb-run", "xvfb-run", "-a", argv[0], argv[1], static_cast<char *>(nullptr));
        return fail("cannot run xvfb-run");
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return fail("cannot open the display");
    XSetErrorHandler(&ignoreError);

    const pid_t child = fork();
    if (child < 0)
        return fail("fork failed");
    if (child == 0) {
        execl(argv[1], argv[1], static_cast<char *>(nullptr));
        std::perror(argv[1]);
        _exit(127);
    }

    // Building the tree from a real MIB takes a while before the window shows.
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(120);
    Window window = 0;
    int status = 0;
    while (!window && Clock::now() < deadline) {
        if (waitpid(child, &status, WNOHANG) == child) {
            XCloseDisplay(display);
            return fail("the program ended before its window appeared");
        }
        window = findWindow(display, child, "oidscope");
        if (!window)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    if (!window) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        XCloseDisplay(display);
        return fail("no window titled oidscope appeared");
    }

    sendClose(display, window);
    const bool ended = waitForExit(child, Clock::now() + std::chrono::seconds(30), status);
    XCloseDisplay(display);
    if (!ended) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return fail("the program did not end after its window was closed");
    }
    if (!WIFEXITED(status))
        return fail("the program was killed by a signal");
    if (WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "start_and_close: exit status %d\n", WEXITSTATUS(status));
        return 1;
    }
    std::printf("start_and_close: window shown, closed, exit status 0\n");
    return 0;
}
