#include "platform/x11/x11_pointer_watch.h"

#include "common/late_library.h"
#include "platform/x11/x11_connection.h"

#include <QCoreApplication>
#include <xcb/xinput.h>

namespace tintavo {

namespace {

// The X Input library, loaded the first time the pointer is watched (the
// picker) rather than with the program: the main window never needs it.
struct XInput
{
    xcb_extension_t *id = nullptr;
    decltype(&xcb_input_xi_query_version) queryVersion = nullptr;
    decltype(&xcb_input_xi_query_version_reply) queryVersionReply = nullptr;
    decltype(&xcb_input_xi_select_events) selectEvents = nullptr;
};

const XInput *xinput()
{
    static const LateLibrary library("xcb-xinput", 0);
    static XInput calls;
    static const bool found =
        library.find(calls.id, "xcb_input_id") &&
        library.find(calls.queryVersion, "xcb_input_xi_query_version") &&
        library.find(calls.queryVersionReply, "xcb_input_xi_query_version_reply") &&
        library.find(calls.selectEvents, "xcb_input_xi_select_events");
    return found ? &calls : nullptr;
}

} // namespace

X11PointerWatch::X11PointerWatch(xcb_connection_t *connection, xcb_window_t root, QObject *parent)
    : PointerWatch(parent), m_connection(connection), m_root(root)
{
    const XInput *input = xinput();
    const xcb_query_extension_reply_t *extension =
        input ? xcb_get_extension_data(connection, input->id) : nullptr;
    if (!extension || !extension->present)
        return;
    // Raw events reach the root also while another client holds a grab
    // only from 2.1 on.
    x11::Reply<xcb_input_xi_query_version_reply_t> version(
        input->queryVersionReply(connection, input->queryVersion(connection, 2, 2), nullptr));
    if (!version || version->major_version < 2 ||
        (version->major_version == 2 && version->minor_version < 1))
        return;
    m_opcode = extension->major_opcode;
    selectRawMotion(true);
    if (auto *app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

X11PointerWatch::~X11PointerWatch()
{
    // Without the application the connection is gone, and the selection with it.
    if (!m_opcode || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    selectRawMotion(false);
}

void X11PointerWatch::selectRawMotion(bool on)
{
    // The master devices' own entry in the root's selection: the toolkit
    // keeps its hierarchy and device events under the entry for all devices,
    // which this leaves alone.
    struct
    {
        xcb_input_event_mask_t header;
        quint32 bits;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, on ? quint32(XCB_INPUT_XI_EVENT_MASK_RAW_MOTION) : 0};
    xinput()->selectEvents(m_connection, m_root, 1, &mask.header);
    xcb_flush(m_connection);
}

bool X11PointerWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_GE_GENERIC)
        return false;
    const auto *generic = static_cast<const xcb_ge_generic_event_t *>(message);
    if (generic->extension == m_opcode && generic->event_type == XCB_INPUT_RAW_MOTION)
        emit moved();
    // The toolkit passes over raw events; another filter may want them.
    return false;
}

} // namespace tintavo
