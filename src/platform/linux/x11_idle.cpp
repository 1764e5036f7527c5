// Kept apart from Qt headers: Xlib defines macros that clash with Qt's names.
#include "platform/linux/x11_idle.h"

#include <X11/Xlib.h>
#include <X11/extensions/sync.h>

#include <cstdlib>
#include <cstring>

namespace zk {

namespace {

int IgnoreXError(Display *, XErrorEvent *)
{
    return 0;
}

qint64 QueryIdle(Display *d)
{
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XSyncQueryExtension(d, &eventBase, &errorBase) || !XSyncInitialize(d, &major, &minor))
        return -1;
    int count = 0;
    XSyncSystemCounter *counters = XSyncListSystemCounters(d, &count);
    XSyncCounter counter = 0;
    for (int i = 0; counters && i < count; ++i) {
        if (counters[i].name && std::strcmp(counters[i].name, "IDLETIME") == 0) {
            counter = counters[i].counter;
            break;
        }
    }
    if (counters)
        XSyncFreeSystemCounterList(counters);
    if (counter == 0)
        return -1;
    XSyncValue value;
    if (!XSyncQueryCounter(d, counter, &value))
        return -1;
    const qint64 high = XSyncValueHigh32(value);
    const quint32 low = XSyncValueLow32(value);
    return high < 0 ? -1 : (high << 32) | qint64(low);
}

}  // namespace

qint64 X11UserIdle::idleMilliseconds()
{
    const char *name = std::getenv("DISPLAY");
    if (!name || !*name)
        return -1;
    Display *d = XOpenDisplay(name);
    if (!d)
        return -1;
    auto *previous = XSetErrorHandler(IgnoreXError);
    const qint64 ms = QueryIdle(d);
    XSetErrorHandler(previous);
    XCloseDisplay(d);
    return ms;
}

}  // namespace zk
