#include "platform/linux/x11_top_windows.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace zk {

namespace {

// A reply whose error, if any, is dropped (a null error pointer would queue
// it as an event nobody reads).
template <typename Reply, typename Fn, typename Cookie>
Reply *Answer(Fn fn, xcb_connection_t *c, Cookie cookie)
{
    xcb_generic_error_t *error = nullptr;
    Reply *r = fn(c, cookie, &error);
    std::free(error);
    return r;
}

}  // namespace

X11TopWindows::X11TopWindows(QByteArray display) : m_display(std::move(display)) {}

X11TopWindows::~X11TopWindows()
{
    if (m_conn)
        xcb_disconnect(m_conn);
}

quint32 X11TopWindows::atom(const char *name)
{
    xcb_intern_atom_reply_t *r =
        Answer<xcb_intern_atom_reply_t>(xcb_intern_atom_reply, m_conn, xcb_intern_atom(m_conn, 0, uint16_t(std::strlen(name)), name));
    const quint32 a = r ? r->atom : 0;
    std::free(r);
    return a;
}

bool X11TopWindows::connected()
{
    if (m_conn && xcb_connection_has_error(m_conn) == 0)
        return true;
    if (m_conn) {
        xcb_disconnect(m_conn);
        m_conn = nullptr;
    }
    if (m_display.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    int screen = 0;
    xcb_connection_t *c = xcb_connect(m_display.isEmpty() ? nullptr : m_display.constData(), &screen);
    if (!c || xcb_connection_has_error(c)) {
        if (c)
            xcb_disconnect(c);
        return false;
    }
    m_conn = c;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screen && it.rem; ++i)
        xcb_screen_next(&it);
    m_root = it.data ? it.data->root : 0;
    m_clientList = atom("_NET_CLIENT_LIST");
    m_netWmName = atom("_NET_WM_NAME");
    m_utf8 = atom("UTF8_STRING");
    m_netWmPid = atom("_NET_WM_PID");
    return true;
}

int X11TopWindows::fd() const
{
    return m_conn ? xcb_get_file_descriptor(m_conn) : -1;
}

bool X11TopWindows::takeChanges()
{
    if (!m_conn)
        return false;
    bool changed = false;
    while (xcb_generic_event_t *e = xcb_poll_for_event(m_conn)) {
        switch (e->response_type & 0x7f) {
        case XCB_PROPERTY_NOTIFY: {
            const auto *p = reinterpret_cast<const xcb_property_notify_event_t *>(e);
            if (p->window == m_root && p->atom == m_clientList) {
                m_listValid = false;
                changed = true;
            } else if (p->window != m_root && (p->atom == m_netWmName || p->atom == XCB_ATOM_WM_NAME)) {
                m_titleChanged.insert(p->window);
                changed = true;
            }
            break;
        }
        case XCB_MAP_NOTIFY:
        case XCB_UNMAP_NOTIFY:
        case XCB_DESTROY_NOTIFY:
            // The root's children: the list without a window manager.
            m_listValid = false;
            changed = true;
            break;
        default:
            break;
        }
        std::free(e);
    }
    if (xcb_connection_has_error(m_conn)) {
        m_listValid = false;
        changed = true;
    }
    return changed;
}

QList<quint32> X11TopWindows::readList()
{
    QList<quint32> windows;
    xcb_get_property_reply_t *list = Answer<xcb_get_property_reply_t>(xcb_get_property_reply, m_conn, xcb_get_property(m_conn, 0, m_root, m_clientList, XCB_ATOM_WINDOW, 0, 1 << 16));
    if (list && list->format == 32 && list->type == XCB_ATOM_WINDOW) {
        const auto *ids = static_cast<const xcb_window_t *>(xcb_get_property_value(list));
        const int n = xcb_get_property_value_length(list) / 4;
        for (int i = 0; i < n; ++i)
            windows.append(ids[i]);
        std::free(list);
        return windows;
    }
    std::free(list);
    // No window manager: the mapped, managed-looking children of the root.
    xcb_query_tree_reply_t *tree = Answer<xcb_query_tree_reply_t>(xcb_query_tree_reply, m_conn, xcb_query_tree(m_conn, m_root));
    if (!tree)
        return windows;
    const xcb_window_t *kids = xcb_query_tree_children(tree);
    const int n = xcb_query_tree_children_length(tree);
    QList<xcb_get_window_attributes_cookie_t> cookies;
    for (int i = 0; i < n; ++i)
        cookies.append(xcb_get_window_attributes(m_conn, kids[i]));
    for (int i = 0; i < n; ++i) {
        xcb_get_window_attributes_reply_t *a = Answer<xcb_get_window_attributes_reply_t>(xcb_get_window_attributes_reply, m_conn, cookies[i]);
        if (a && a->map_state == XCB_MAP_STATE_VIEWABLE && !a->override_redirect)
            windows.append(kids[i]);
        std::free(a);
    }
    std::free(tree);
    return windows;
}

void X11TopWindows::readWindows(QList<X11TopWindow> &windows)
{
    // Every property request goes out before the first answer is read.
    struct Cookies {
        xcb_get_property_cookie_t netName, name, pid;
    };
    QList<Cookies> cookies;
    for (const X11TopWindow &w : windows)
        cookies.append({xcb_get_property(m_conn, 0, w.id, m_netWmName, m_utf8, 0, 4096),
                        xcb_get_property(m_conn, 0, w.id, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096),
                        xcb_get_property(m_conn, 0, w.id, m_netWmPid, XCB_ATOM_CARDINAL, 0, 1)});
    auto text = [this](xcb_get_property_cookie_t c, bool utf8) {
        xcb_get_property_reply_t *r = Answer<xcb_get_property_reply_t>(xcb_get_property_reply, m_conn, c);
        QString s;
        if (r && r->format == 8) {
            const auto *data = static_cast<const char *>(xcb_get_property_value(r));
            const int len = xcb_get_property_value_length(r);
            s = utf8 ? QString::fromUtf8(data, len) : QString::fromLocal8Bit(data, len);
            const qsizetype nul = s.indexOf(QChar(0));
            if (nul >= 0)
                s.truncate(nul);
        }
        std::free(r);
        return s;
    };
    for (qsizetype i = 0; i < windows.size(); ++i) {
        X11TopWindow &w = windows[i];
        const QString netName = text(cookies[i].netName, true);
        const QString name = text(cookies[i].name, false);
        w.title = netName.isEmpty() ? name : netName;
        xcb_get_property_reply_t *pid = Answer<xcb_get_property_reply_t>(xcb_get_property_reply, m_conn, cookies[i].pid);
        w.pid = 0;
        if (pid && pid->format == 32 && xcb_get_property_value_length(pid) >= 4)
            w.pid = *static_cast<const quint32 *>(xcb_get_property_value(pid));
        std::free(pid);
    }
}

QList<X11TopWindow> X11TopWindows::read()
{
    const bool fresh = !m_conn || xcb_connection_has_error(m_conn) != 0;
    if (!connected() || !m_root)
        return {};
    if (fresh) {
        // Changes of the client list and of the root's children are told from now on.
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_conn, m_root, XCB_CW_EVENT_MASK, &mask);
        m_listValid = false;
    }
    takeChanges();
    if (!m_listValid) {
        const QList<quint32> ids = readList();
        QList<X11TopWindow> windows;
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        for (quint32 id : ids) {
            // Title changes are told from now on (a window seen before keeps its mask).
            xcb_change_window_attributes(m_conn, id, XCB_CW_EVENT_MASK, &mask);
            windows.append(X11TopWindow{id, QString(), 0});
        }
        readWindows(windows);
        m_windows = windows;
        m_titleChanged.clear();
        m_listValid = true;
    } else if (!m_titleChanged.isEmpty()) {
        QList<X11TopWindow> changed;
        for (const X11TopWindow &w : m_windows)
            if (m_titleChanged.contains(w.id))
                changed.append(w);
        readWindows(changed);
        for (X11TopWindow &w : m_windows)
            for (const X11TopWindow &c : changed)
                if (c.id == w.id)
                    w = c;
        m_titleChanged.clear();
    }
    xcb_flush(m_conn);
    return m_windows;
}

}  // namespace zk
