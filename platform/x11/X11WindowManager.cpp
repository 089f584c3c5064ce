#include "platform/x11/X11WindowManager.h"

#include "platform/x11/QtXcbConnection.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return result;
}

} // namespace

void X11WindowManager::activateWindow(uint64_t windowId)
{
    const QtXcbConnection qt = qtXcbConnection();
    if (qt.connection == nullptr || windowId == 0) {
        return;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(windowId);
    message.type = atom(qt.connection, "_NET_ACTIVE_WINDOW");
    // Source 2: a pager's request, which window managers honour even from a background program;
    // the hotkey press itself is the user's request.
    message.data.data32[0] = 2;
    message.data.data32[1] = XCB_CURRENT_TIME;
    message.data.data32[2] = 0;
    xcb_send_event(qt.connection, 0, qt.root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(qt.connection);
}
