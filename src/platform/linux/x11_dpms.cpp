// Kept apart from every Qt header: Xlib defines macros (None, Bool, Status)
// that clash with Qt's names.
#include "platform/linux/x11_dpms.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

#include <cstdlib>

namespace zk {

namespace {

// A failing DPMS request must not end the process through Xlib's default
// error handler, which exits.
int IgnoreXError(Display *, XErrorEvent *)
{
    return 0;
}

class DisplayConnection {
public:
    DisplayConnection()
    {
        const char *name = std::getenv("DISPLAY");
        if (name && *name)
            m_display = XOpenDisplay(name);
    }
    ~DisplayConnection()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    DisplayConnection(const DisplayConnection &) = delete;
    DisplayConnection &operator=(const DisplayConnection &) = delete;

    Display *get() const { return m_display; }
    bool hasDpms() const
    {
        int eventBase = 0;
        int errorBase = 0;
        return m_display && DPMSQueryExtension(m_display, &eventBase, &errorBase) && DPMSCapable(m_display);
    }

private:
    Display *m_display = nullptr;
};

}  // namespace

bool ForceMonitorPower(bool on)
{
    DisplayConnection dpy;
    if (!dpy.hasDpms())
        return false;
    Display *d = dpy.get();
    auto *previous = XSetErrorHandler(IgnoreXError);
    CARD16 level = 0;
    BOOL enabled = 0;
    DPMSInfo(d, &level, &enabled);
    if (on) {
        // With DPMS disabled the monitors are on already; forcing a level
        // would be refused by the server.
        if (enabled)
            DPMSForceLevel(d, DPMSModeOn);
        XResetScreenSaver(d);
    } else {
        if (!enabled)
            DPMSEnable(d);
        DPMSForceLevel(d, DPMSModeOff);
    }
    XSync(d, 0);
    XSetErrorHandler(previous);
    return true;
}

int MonitorPowerLevel()
{
    DisplayConnection dpy;
    if (!dpy.hasDpms())
        return -1;
    CARD16 level = 0;
    BOOL enabled = 0;
    if (!DPMSInfo(dpy.get(), &level, &enabled))
        return -1;
    if (!enabled)
        return 0;
    return int(level);
}

}  // namespace zk
