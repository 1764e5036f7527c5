// The top-level windows of the X server with their titles and processes:
// the window manager's client list (_NET_CLIENT_LIST), or without a window
// manager the mapped children of the root window. Uses its own xcb
// connection, so it may run in any one thread; errors (a window gone in the
// meantime) only leave that window out.
#pragma once

#include <QList>
#include <QString>

struct xcb_connection_t;

namespace zk {

struct X11TopWindow {
    quint32 id = 0;
    QString title;  // _NET_WM_NAME, else WM_NAME
    qint64 pid = 0; // _NET_WM_PID, 0 when not set
};

class X11TopWindows {
public:
    // display: as for XOpenDisplay; empty means $DISPLAY.
    explicit X11TopWindows(QByteArray display = QByteArray());
    ~X11TopWindows();
    X11TopWindows(const X11TopWindows &) = delete;
    X11TopWindows &operator=(const X11TopWindows &) = delete;

    // False when there is no X server to ask.
    bool connected();
    QList<X11TopWindow> read();

private:
    quint32 atom(const char *name);

    QByteArray m_display;
    xcb_connection_t *m_conn = nullptr;
    quint32 m_root = 0;
    quint32 m_clientList = 0, m_netWmName = 0, m_utf8 = 0, m_netWmPid = 0;
};

}  // namespace zk
