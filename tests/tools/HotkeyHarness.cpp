// zentrap-hotkey-harness: the X11 hotkey service and PrintScreen watch on their own, so that
// end-to-end tests can check grabs, lock keys and keyboard-map changes without the whole program.
// Arguments: shortcuts in hexadecimal, registered as ids 101, 102, ... Prints "registered ID yes"
// or "registered ID no" for each, then "ready"; "hotkey ID" for every hotkey press and "print"
// for every PrintScreen report. Lines on standard input:
//   register ID HEX, unregister ID, names HEX (prints the shortcut's text), block MS (keeps the
//   user-interface thread busy), quit; any other line is echoed once every X event sent before it
//   has been handled, so that scripts can mark their steps between the keys they press
#include "platform/ShortcutText.h"
#include "platform/x11/QtXcbConnection.h"
#include "platform/x11/X11HotkeyService.h"
#include "platform/x11/X11KeyWatcher.h"

#include <QApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <unistd.h>
#include <xcb/xcb.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    X11HotkeyService hotkeys;
    X11KeyWatcher watcher;
    const auto say = [](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    };
    hotkeys.setHandler([&](int id) { say("hotkey " + std::to_string(id)); });
    const auto registerOne = [&](int id, const std::string& hex) {
        const bool ok = hotkeys.registerHotkey(id, static_cast<Shortcut>(std::stoul(hex, nullptr, 16)));
        say("registered " + std::to_string(id) + (ok ? " yes" : " no"));
    };
    for (int i = 1; i < argc; ++i) {
        registerOne(100 + i, argv[i]);
    }
    watcher.start([&] { say("print"); });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    const auto command = [&](const std::string& line) {
        std::istringstream words(line);
        std::string verb, hex;
        int id = 0;
        words >> verb;
        if (verb == "register" && words >> id >> hex) {
            registerOne(id, hex);
        } else if (verb == "unregister" && words >> id) {
            hotkeys.unregisterHotkey(id);
            say("unregistered " + std::to_string(id));
        } else if (verb == "block" && words >> id) {
            // Keeps the user-interface thread busy, as a slow command would.
            say("blocking");
            usleep(static_cast<useconds_t>(id) * 1000);
            say("unblocked");
        } else if (verb == "names" && words >> hex) {
            const auto shortcut = static_cast<Shortcut>(std::stoul(hex, nullptr, 16));
            say("text " + shortcutText(shortcut, [&](int key) { return hotkeys.keyName(key); }));
        } else {
            // Anything else is echoed: scripts use it to mark their steps in the output. The keys a
            // script pressed before the mark reached the server before it; once the server has
            // answered a round trip their events are queued here, and they are handled first
            // (without reading further input, which must wait for its turn).
            if (xcb_connection_t* connection = qtXcbConnection().connection) {
                std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
            }
            QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
            say(line);
        }
    };
    std::string pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, static_cast<size_t>(got));
        // Every complete line that has arrived, not only the first.
        for (size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (line == "quit") {
                QCoreApplication::quit();
                return;
            }
            command(line);
        }
    });
    say(hotkeys.isAvailable() && watcher.isAvailable() ? "ready" : "unavailable");
    return QApplication::exec();
}
