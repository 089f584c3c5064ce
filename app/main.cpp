// Program entry: the application object, the platform, the two permanent windows.
#include "app/CommandLineActions.h"
#include "app/DesktopPlatform.h"
#include "app/ui/CaptureFrameWindowLink.h"
#include "app/ui/DialogModality.h"
#include "app/ui/OutsideEndWatch.h"
#include "app/ui/RemoteControlWindow.h"
#include "app/ui/TrayIconPicture.h"
#include "capture/ui/CaptureFrameWindow.h"
#include "common/AtomicFile.h"
#include "common/HivePaths.h"
#include "common/OpenWindowSettings.h"
#include "common/RegistryHive.h"
#include "common/SettingsFile.h"
#include "common/SettingsWriteNotice.h"
#include "editor/ui/ImageEditorWindow.h"
#include "platform/FileRegistryHive.h"
#include "platform/Platform.h"
#include "platform/ScaleFactorDensity.h"
#include "platform/x11/MonitorChangeWatch.h"
#include "platform/x11/QtMessageService.h"
#include "platform/x11/QtTrayService.h"
#include "platform/x11/SingleInstance.h"
#include "platform/x11/TerminationSignals.h"
#include "platform/x11/X11ClipboardService.h"
#include "platform/x11/XcbBackEnd.h"
#include "print/ui/OpenPrintPreview.h"
#include "save/ui/SaveAsDialog.h"

#include <QApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string programFolder()
{
    return QCoreApplication::applicationDirPath().toStdString() + "/";
}

// Qt ends the process with exit() when the X server goes away ("The X11 connection broke"); the
// windows are never destroyed then, so their settings are written from here.
std::function<void()> writeSettingsAtExit;

void writeKnownSettings()
{
    if (writeSettingsAtExit) {
        // The windows open over the Remote Control first, as their closes would have done.
        OpenWindowSettings::writeAll();
        std::function<void()> write = std::move(writeSettingsAtExit);
        write();
    }
}

// Saves that a killed process left behind in the settings folders.
void removeStaleTemporaryFilesOfSettings(const std::string& iniPath)
{
    removeStaleTemporaryFiles(userConfigFolder());
    removeStaleTemporaryFiles(std::filesystem::path(iniPath).parent_path().string());
}

std::vector<std::string> programArguments()
{
    QStringList arguments = QCoreApplication::arguments();
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        args.push_back(arguments[i].toStdString());
    }
    return args;
}

bool helpAsked(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") {
            return true;
        }
    }
    return false;
}
// Keeps the capture pasteable after the program has ended. Declared before the windows, it acts
// after they have written their settings, so a slow clipboard manager never holds those back.
struct ClipboardAfterExit {
    X11ClipboardService& clipboard;
    std::string keeperProgram;
    bool atExit = false;

    ~ClipboardAfterExit()
    {
        if (!atExit) {
            return;
        }
        const std::string failure = clipboard.keepAfterExit(keeperProgram);
        if (!failure.empty()) {
            std::fprintf(stderr, "Zentrap: the capture is not kept on the clipboard: %s\n", failure.c_str());
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    // A write to a closed pipe or socket (an X server that went away, a closed output) must fail
    // as an error, not end the program before it has written its settings.
    std::signal(SIGPIPE, SIG_IGN);
    // Without a session bus, D-Bus would start one for the toolkit (its tray and accessibility
    // look for services there) and leave it running after the program ends: start none.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    }
    // One logical pixel must be one screen pixel: the windows' geometry relies on it. Qt applies
    // the user's scale factors even with its high-DPI scaling off, so they become a density.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // Before the application object, which needs a display: help is for a terminal too.
    if (helpAsked(argc, argv)) {
        std::fputs(commandLineUsage().c_str(), stdout);
        return 0;
    }
    chooseXcbBackEnd(argc, argv);
    turnScaleFactorsIntoDensity();
    QApplication app(argc, argv);
    const CommandLine commandLine = parseCommandLine(programArguments());
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "zentrap: %s\n%s", commandLine.error.c_str(), commandLineUsage().c_str());
        return 2;
    }
    QApplication::setApplicationName("Zentrap");
    QApplication::setWindowIcon(trayIconPicture());
    // The Remote Control hides itself during captures; only its granted close ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    DialogModality dialogModality(&app);

    // One Zentrap per user and display: a second start brings the first one forward, or has it do
    // the action asked, instead.
    SingleInstance instance(qEnvironmentVariable("DISPLAY"));
    const QString request =
        commandLine.action.empty() ? QStringLiteral("raise") : QString::fromStdString(commandLine.action);
    if (instance.claim(request) == SingleInstance::Claim::AlreadyRunning) {
        if (!commandLine.action.empty() && !instance.requestDelivered()) {
            std::fprintf(stderr, "zentrap: the Zentrap running on this display did not take --%s\n",
                         commandLine.action.c_str());
            return 1;
        }
        return 0;
    }
    // From here on SIGTERM, SIGINT and SIGHUP end the program through its normal path.
    TerminationSignals termination;
    QtTrayService tray(trayIconPicture());
    DesktopPlatform desktop({.programFolder = programFolder(), .tray = &tray});
    Platform& platform = desktop.platform();
    // Settings that cannot be saved are told once: in a box while the program runs, on the
    // error output while it ends (its windows are gone then).
    bool running = false;
    SettingsWriteNotice settingsNotice([&](const std::string& text) {
        if (running) {
            platform.messages.showMessage(text);
        } else {
            std::fprintf(stderr, "zentrap: %s\n", text.c_str());
        }
    });
    desktop.userHive().setWriteNotice(&settingsNotice);
    ClipboardAfterExit clipboardAfterExit{desktop.clipboard(), programFolder() + "zentrap-keeper"};

    SettingsFile settingsFile(settingsFilePath());
    settingsFile.setWriteNotice(&settingsNotice);
    removeStaleTemporaryFilesOfSettings(settingsFile.path());
    RemoteWindowFactories windows;
    windows.save = [&](const ModalWindowContext& context) {
        CaptureSession& session = context.session;
        return std::make_unique<SaveAsDialog>(
            platform, settingsFile,
            SaveAsDialogHost{session.image, session.captureNumber, session.notSaved, context.settings.showHint},
            &context.owner);
    };
    windows.edit = [&](const ModalWindowContext& context) {
        CaptureSession& session = context.session;
        return std::make_unique<ImageEditorWindow>(platform, settingsFile,
                                                   ImageEditorHost{session.image, *session.editImage,
                                                                   *session.undoImage, context.settings.showHint,
                                                                   context.printAvailable},
                                                   &context.owner);
    };
    windows.print = [&](const ModalWindowContext& context) -> std::unique_ptr<QDialog> {
        return openPrintPreview(
            platform, settingsFile,
            PrintPreviewHost{context.session.image, context.session.notSaved, context.settings.showHint},
            &context.owner);
    };
    // A termination signal while the Remote Control is being made (its skin warning may be open)
    // closes that box and ends the program as soon as the window exists, with its settings saved.
    bool endedWhileStarting = false;
    auto startupEnd = QObject::connect(&termination, &TerminationSignals::terminationRequested, [&] {
        endedWhileStarting = true;
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->close();
        }
    });
    // The windows' values written at the end land in the user hive in one write (begun below,
    // ended after the Remote Control, made after it, is gone).
    HiveWriteBatch sessionWrite(platform.userHive);
    RemoteControlWindow remote(platform, windows);
    QObject::disconnect(startupEnd);
    // Boxes without a named owner belong to the Remote Control from now on.
    desktop.messageBoxes().setParent(&remote);
    auto frame = std::make_unique<CaptureFrameWindow>(platform, remote.frameHost());
    CaptureFrameWindowLink frameLink(*frame);
    remote.attachFrame(&frameLink);
    // Told to end from outside (the session, a termination signal): no question, settings saved.
    OutsideEndWatch outsideEnd([&remote] { remote.saveSettings(); }, [&remote] { remote.endWithoutAsking(); });
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &remote,
                     [&remote] { remote.endWithoutAsking(); });

    QObject::connect(&instance, &SingleInstance::raiseRequested, &remote, &RemoteControlWindow::comeForward);
    QObject::connect(&instance, &SingleInstance::actionRequested, &remote, [&remote](const QString& action) {
        if (const std::optional<Command> command = commandForAction(action.toStdString())) {
            remote.runFromOutside(*command);
        }
    });
    // A monitor that goes away may take the windows with it: they come back to the primary one.
    MonitorChangeWatch monitorChanges([&remote, &frame] {
        remote.keepOnMonitors();
        if (frame) {
            frame->keepOnMonitors();
        }
    });
    writeSettingsAtExit = [&] {
        running = false;
        sessionWrite.begin();
        frame->writeSettings();
        remote.saveSettings();
        sessionWrite.end();
    };
    std::atexit(writeKnownSettings);

    if (endedWhileStarting) {
        QTimer::singleShot(0, &remote, [&remote] { remote.endWithoutAsking(); });
    }
    remote.show();
    // Started for an action ("zentrap --capture" with none running): done once the windows are up.
    if (const std::optional<Command> command = commandForAction(commandLine.action)) {
        QTimer::singleShot(0, &remote, [&remote, command] { remote.runFromOutside(*command); });
    }
    running = true;
    const int status = QApplication::exec();
    running = false;
    writeSettingsAtExit = nullptr;
    sessionWrite.begin();
    clipboardAfterExit.atExit = true;

    // Reverse order of creation: the frame writes its values first, then the Remote Control.
    remote.attachFrame(nullptr);
    frame.reset();
    return status;
}
