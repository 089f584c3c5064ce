// zentrap-frame-harness: shows the Capture Frame on its own, as the Remote Control would, so that
// end-to-end tests can drive it without the rest of the program.
//   --system-move   "Update rulers while dragging" off: the window manager moves the frame
//   --grip          "Show rulers" off: the grip look
// Prints "ready X Y W H B" (the client area on the screen and the band width) once the frame is
// shown, and "command NAME" for every command the frame forwards. Lines on standard input:
//   where      prints "at X Y W H" and "capture X Y W H" (the capture rectangle)
//   labels     prints "label LEFT TOP RIGHT BOTTOM" for every ruler label, in client coordinates
//   units N    clicks the units menu item N
//   hide, show hides or shows the frame, as the Remote Control does around its windows
//   quit       ends (so does the end of input, or the frame's close request)
// The frame writes its values when the harness ends, as at the program's shutdown.
#include "app/CommandTable.h"
#include "app/DesktopPlatform.h"
#include "capture/ui/CaptureFrameWindow.h"
#include "capture/ui/FramePainter.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

const char* commandName(Command command)
{
    switch (command) {
    case Command::Capture:
        return "Capture";
    case Command::Edit:
        return "Edit";
    case Command::FullScreen:
        return "FullScreen";
    case Command::Menu:
        return "Menu";
    case Command::Preferences:
        return "Preferences";
    case Command::Print:
        return "Print";
    case Command::Save:
        return "Save";
    case Command::Help:
        return "Help";
    case Command::Close:
        return "Close";
    default:
        return "?"; // not one the frame forwards
    }
}

void say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

class HarnessHost : public FrameHost {
public:
    bool updateRulers() const override { return updateRulersOption; }
    bool showRulers() const override { return showRulersOption; }
    void processPendingPaint() override {}
    bool frameKey(int virtualKey, KeyModifiers modifiers) override
    {
        const std::optional<Command> command = commandForKey(virtualKey, modifiers, KeySource::CaptureFrame);
        if (command) {
            run(*command);
        }
        return command.has_value();
    }
    void frameCloseRequest() override { run(Command::Close); }

    bool updateRulersOption = true;
    bool showRulersOption = true;

private:
    static void run(Command command)
    {
        say(std::string("command ") + commandName(command));
        if (command == Command::Close) {
            QCoreApplication::quit();
        }
    }
};

void printLabels(const CaptureFrameWindow& frame, bool showRulers)
{
    if (!showRulers) {
        return;
    }
    const int ppi = qRound(frame.screen()->logicalDotsPerInchX());
    FramePainter painter(ppi, FrameColours{});
    RulerFrame layout;
    layout.borderWidth = frame.borderWidth();
    layout.client = {frame.width(), frame.height()};
    layout.clientOrigin = {frame.x(), frame.y()};
    layout.pixelsPerInch = ppi;
    layout.units = static_cast<int32_t>(frame.units());
    const QByteArray separator = frame.locale().decimalPoint().toUtf8();
    for (const RulerLabel& label : rulerLabels(layout, std::string_view(separator.constData(), separator.size()),
                                               [&](std::string_view text) { return painter.labelWidth(text); })) {
        say("label " + std::to_string(label.clip.left) + " " + std::to_string(label.clip.top) + " " +
            std::to_string(label.clip.right) + " " + std::to_string(label.clip.bottom));
    }
}

void handleLine(const std::string& line, CaptureFrameWindow& frame, const HarnessHost& host)
{
    if (line == "quit") {
        QCoreApplication::quit();
    } else if (line == "where") {
        const QRect g = frame.geometry();
        const Rect c = frame.captureRect();
        say("at " + std::to_string(g.x()) + " " + std::to_string(g.y()) + " " + std::to_string(g.width()) + " " +
            std::to_string(g.height()));
        say("capture " + std::to_string(c.left) + " " + std::to_string(c.top) + " " + std::to_string(c.width()) + " " +
            std::to_string(c.height()));
    } else if (line == "labels") {
        printLabels(frame, host.showRulersOption);
        say("end");
    } else if (line == "hide" || line == "show") {
        frame.setVisible(line == "show");
        say("ok");
    } else if (line.rfind("units ", 0) == 0) {
        frame.setUnits(static_cast<MeasureUnit>(std::stoi(line.substr(6))));
        say("ok");
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    HarnessHost host;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--system-move") == 0) {
            host.updateRulersOption = false;
        } else if (std::strcmp(argv[i], "--grip") == 0) {
            host.showRulersOption = false;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zentrap");
    QApplication::setQuitOnLastWindowClosed(false);

    DesktopPlatform desktop({.programFolder = "/tmp/"});
    Platform& platform = desktop.platform();

    auto frame = std::make_unique<CaptureFrameWindow>(platform, host);
    frame->show();
    QTimer::singleShot(300, frame.get(), [&frame] {
        const QRect g = frame->geometry();
        say("ready " + std::to_string(g.x()) + " " + std::to_string(g.y()) + " " + std::to_string(g.width()) + " " +
            std::to_string(g.height()) + " " + std::to_string(frame->borderWidth()));
    });

    std::string pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, static_cast<size_t>(got));
        for (size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            handleLine(pending.substr(0, end), *frame, host);
            pending.erase(0, end + 1);
        }
    });

    const int status = QApplication::exec();
    frame.reset(); // writes the frame's values
    return status;
}
