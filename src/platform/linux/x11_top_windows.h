// The top-level windows of the X server with their titles and processes:
// the window manager's client list (_NET_CLIENT_LIST), or without a window
// manager the mapped children of the root window. Uses its own xcb
// connection, so it may run in any one thread; errors (a window gone in the
// meantime) only leave that window out. The list is kept between reads: the
// X server reports changes to the client list, to the root's children (no
// window manager) and to each window's title on the connection (fd()), and
// read() asks again only for what changed.
#pragma once

#include <QList>
#include <QSet>
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
    // The connection's descriptor to watch for change notices (-1 without one).
    int fd() const;
    // Takes the change notices that came in; true when one changes what read() answers.
    bool takeChanges();
    // Forgets the kept list: the next read() asks for everything.
    void forget() { m_listValid = false; }

private:
    quint32 atom(const char *name);
    QList<quint32> readList();
    void readWindows(QList<X11TopWindow> &windows);

    QList<X11TopWindow> m_windows;
    bool m_listValid = false;
    QSet<quint32> m_titleChanged;

    QByteArray m_display;
    xcb_connection_t *m_conn = nullptr;
    quint32 m_root = 0;
    quint32 m_clientList = 0, m_netWmName = 0, m_utf8 = 0, m_netWmPid = 0;
};

}  // namespace zk
