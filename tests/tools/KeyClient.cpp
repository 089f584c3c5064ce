// zentrap-test-keys: another X client for the hotkey tests.
//   --grab MODS KEYSYM   grabs KEYSYM (a name such as "c") with the modifier mask MODS (decimal,
//                        X bits: 1 Shift, 4 Control, 8 Mod1) on the root window, prints "grabbed"
//                        or "refused", and holds the grab until it is ended
//   --window             shows a window titled "zentrap-test-keys", prints "ready", then "key NAME"
//                        for each key press it receives
#include <X11/Xlib.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int grab(xcb_connection_t* c, xcb_window_t root, int modifiers, const char* keysymName)
{
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, XStringToKeysym(keysymName));
    if (codes == nullptr || codes[0] == XCB_NO_SYMBOL) {
        std::printf("nokey\n");
        return 1;
    }
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_grab_key_checked(c, 0, root, static_cast<uint16_t>(modifiers), codes[0],
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    std::printf(error ? "refused\n" : "grabbed\n");
    std::fflush(stdout);
    std::free(error);
    std::free(codes);
    xcb_key_symbols_free(symbols);
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        std::free(event);
    }
    return 0;
}

int window(xcb_connection_t* c, xcb_screen_t* screen)
{
    const xcb_window_t w = xcb_generate_id(c);
    const uint32_t values[] = {screen->white_pixel,
                               XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_FOCUS_CHANGE};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 300, 300, 300, 200, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    const char* title = "zentrap-test-keys";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(std::strlen(title)), title);
    xcb_map_window(c, w);
    xcb_flush(c);
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
    bool ready = false;
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const int type = event->response_type & 0x7F;
        if (type == XCB_EXPOSE && !ready) {
            ready = true;
            std::printf("ready\n");
        } else if (type == XCB_FOCUS_IN) {
            std::printf("focus\n");
        } else if (type == XCB_KEY_PRESS) {
            auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
            const char* name = XKeysymToString(xcb_key_symbols_get_keysym(symbols, press->detail, 0));
            std::printf("key %s\n", name ? name : "?");
        }
        std::fflush(stdout);
        std::free(event);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "zentrap-test-keys: no display\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (argc == 4 && std::string(argv[1]) == "--grab") {
        return grab(c, screen->root, std::atoi(argv[2]), argv[3]);
    }
    if (argc == 2 && std::string(argv[1]) == "--window") {
        return window(c, screen);
    }
    std::fprintf(stderr, "usage: zentrap-test-keys --grab MODS KEYSYM | --window\n");
    return 2;
}
