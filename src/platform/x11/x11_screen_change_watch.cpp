#include "platform/x11/x11_screen_change_watch.h"

#include "common/late_library.h"
#include "platform/x11/x11_connection.h"

#include <QCoreApplication>
#include <xcb/damage.h>

namespace tintavo {

namespace {

// The DAMAGE library, loaded when the picker first watches the screen rather
// than with the program: the main window never needs it.
struct Damage
{
    xcb_extension_t *id = nullptr;
    decltype(&xcb_damage_query_version) queryVersion = nullptr;
    decltype(&xcb_damage_query_version_reply) queryVersionReply = nullptr;
    decltype(&xcb_damage_create) create = nullptr;
    decltype(&xcb_damage_destroy) destroy = nullptr;
};

const Damage *damage()
{
    static const LateLibrary library("xcb-damage", 0);
    static Damage calls;
    static const bool found =
        library.find(calls.id, "xcb_damage_id") &&
        library.find(calls.queryVersion, "xcb_damage_query_version") &&
        library.find(calls.queryVersionReply, "xcb_damage_query_version_reply") &&
        library.find(calls.create, "xcb_damage_create") &&
        library.find(calls.destroy, "xcb_damage_destroy");
    return found ? &calls : nullptr;
}

} // namespace

X11ScreenChangeWatch::X11ScreenChangeWatch(xcb_connection_t *connection, xcb_window_t root,
                                           QObject *parent)
    : ScreenChangeWatch(parent), m_connection(connection)
{
    const Damage *calls = damage();
    const xcb_query_extension_reply_t *extension =
        calls ? xcb_get_extension_data(connection, calls->id) : nullptr;
    if (!extension || !extension->present)
        return;
    // The server speaks the extension to a client only after this exchange.
    const x11::Reply<xcb_damage_query_version_reply_t> version(
        calls->queryVersionReply(connection, calls->queryVersion(connection, 1, 1), nullptr));
    if (!version)
        return;
    m_notifyEvent = extension->first_event + XCB_DAMAGE_NOTIFY;
    // Raw rectangles keep no damage region in the server, so there is
    // nothing to acknowledge and a busy screen costs it no bookkeeping.
    m_damage = xcb_generate_id(connection);
    calls->create(connection, m_damage, root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_flush(connection);
    if (auto *app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

X11ScreenChangeWatch::~X11ScreenChangeWatch()
{
    // Without the application the connection is gone, and the damage with it.
    if (m_damage == XCB_NONE || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    damage()->destroy(m_connection, m_damage);
    xcb_flush(m_connection);
}

bool X11ScreenChangeWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != m_notifyEvent)
        return false;
    const auto *notify = static_cast<const xcb_damage_notify_event_t *>(message);
    if (notify->damage != m_damage)
        return false;
    // On the root, the drawable's coordinates are the desktop's.
    emit changed(QRect(notify->area.x, notify->area.y, notify->area.width, notify->area.height));
    return true;
}

} // namespace tintavo
