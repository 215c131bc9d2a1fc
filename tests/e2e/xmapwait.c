/* Times, from outside, how long a program takes to show a window:
 *
 *   xmapwait NAME [TIMEOUT_MS] -- command [args...]
 *   xmapwait NAME [TIMEOUT_MS] -- click
 *
 * Watches the X server for top-level windows being mapped, runs the command,
 * and prints the milliseconds from just before the command was started until
 * a window titled exactly NAME was mapped (shown). The command is the
 * program itself (start-up time; it is left running, its process id on
 * standard error, its standard output dropped), or the word "click": a
 * press and release of the left mouse button where the pointer is, sent to
 * the X server at once through its XTest extension. Exit status 1 when no
 * such window came in time.
 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

/* From libXtst (the X test extension, always present beside xdotool); its
 * development header is not needed for one function. */
extern int XTestFakeButtonEvent(Display* display, unsigned int button, Bool is_press, unsigned long delay);

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int ignore_errors(Display* d, XErrorEvent* e)
{
    (void)d;
    (void)e;
    return 0; /* a window may be gone before it is looked at */
}

/* Whether the window (or, without a window manager, the window itself is the
 * client) carries the name, as _NET_WM_NAME or WM_NAME. */
static int has_name(Display* d, Window w, const char* name)
{
    Atom net_name = XInternAtom(d, "_NET_WM_NAME", False), utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type;
    int format, match = 0;
    unsigned long n, after;
    unsigned char* data = NULL;
    if (XGetWindowProperty(d, w, net_name, 0, 1024, False, utf8, &type, &format, &n, &after, &data) == Success
        && data) {
        match = strcmp((const char*)data, name) == 0;
        XFree(data);
        if (match)
            return 1;
    }
    char* wm_name = NULL;
    if (XFetchName(d, w, &wm_name) && wm_name) {
        match = strcmp(wm_name, name) == 0;
        XFree(wm_name);
    }
    return match;
}

int main(int argc, char** argv)
{
    int sep = 1;
    while (sep < argc && strcmp(argv[sep], "--") != 0)
        ++sep;
    if (sep < 2 || sep + 1 >= argc) {
        fprintf(stderr, "usage: xmapwait NAME [TIMEOUT_MS] -- command [args...]\n");
        return 2;
    }
    const char* name = argv[1];
    const double timeout = sep > 2 ? atof(argv[2]) : 20000;

    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "xmapwait: no X display\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);
    Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, False);

    double t0;
    if (strcmp(argv[sep + 1], "click") == 0 && sep + 2 == argc) {
        t0 = now_ms();
        XTestFakeButtonEvent(d, 1, True, CurrentTime);
        XTestFakeButtonEvent(d, 1, False, CurrentTime);
        XFlush(d);
    } else {
        signal(SIGCHLD, SIG_IGN); /* the command is not waited for */
        t0 = now_ms();
        pid_t pid = fork();
        if (pid == 0) {
            /* Standard output carries the figure alone. */
            int null = open("/dev/null", O_WRONLY);
            if (null >= 0)
                dup2(null, STDOUT_FILENO);
            execvp(argv[sep + 1], argv + sep + 1);
            _exit(127);
        }
        fprintf(stderr, "pid %d\n", (int)pid);
    }

    /* Windows mapped before their name was set are watched for the name. */
    for (;;) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            Window w = 0;
            if (e.type == MapNotify)
                w = e.xmap.window;
            else if (e.type == PropertyNotify)
                w = e.xproperty.window;
            else if (e.type == CreateNotify)
                XSelectInput(d, e.xcreatewindow.window, PropertyChangeMask);
            if (!w)
                continue;
            XWindowAttributes a;
            if (XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable && has_name(d, w, name)) {
                printf("%.1f\n", now_ms() - t0);
                return 0;
            }
        }
        const double left = timeout - (now_ms() - t0);
        if (left <= 0)
            return 1;
        struct pollfd p = {ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, left < 50 ? (int)left + 1 : 50);
    }
}
