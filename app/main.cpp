// Program entry: the application object, the platform, the two permanent windows.
#include "app/DesktopPlatform.h"
#include "app/ui/CaptureFrameWindowLink.h"
#include "app/ui/OutsideEndWatch.h"
#include "app/ui/RemoteControlWindow.h"
#include "app/ui/TrayIconPicture.h"
#include "capture/ui/CaptureFrameWindow.h"
#include "common/SettingsFile.h"
#include "editor/ui/ImageEditorWindow.h"
#include "platform/Platform.h"
#include "platform/x11/QtTrayService.h"
#include "platform/x11/TerminationSignals.h"
#include "print/ui/OpenPrintPreview.h"
#include "save/ui/SaveAsDialog.h"

#include <QApplication>
#include <QToolButton>

#include <memory>

namespace {

std::string programFolder()
{
    return QCoreApplication::applicationDirPath().toStdString() + "/";
}

} // namespace

int main(int argc, char** argv)
{
    // One logical pixel must be one screen pixel: the windows' geometry relies on it.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zentrap");
    QApplication::setWindowIcon(trayIconPicture());
    // The Remote Control hides itself during captures; only its granted close ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    // From here on SIGTERM, SIGINT and SIGHUP end the program through its normal path.
    TerminationSignals termination;
    QtTrayService tray(trayIconPicture());
    DesktopPlatform desktop({.programFolder = programFolder(), .tray = &tray});
    Platform& platform = desktop.platform();

    SettingsFile settingsFile(settingsFilePath());
    RemoteWindowFactories windows;
    windows.save = [&](RemoteControlWindow& owner) {
        return std::make_unique<SaveAsDialog>(
            platform, settingsFile, SaveAsDialogHost{owner.image, owner.captureNumber, owner.notSaved, owner.showHint},
            &owner);
    };
    windows.edit = [&](RemoteControlWindow& owner) {
        QToolButton* print = owner.button("sbPrint");
        return std::make_unique<ImageEditorWindow>(platform, settingsFile,
                                                   ImageEditorHost{owner.image, *owner.editImage, *owner.undoImage,
                                                                   owner.showHint,
                                                                   print != nullptr && print->isEnabled()},
                                                   &owner);
    };
    windows.print = [&](RemoteControlWindow& owner) -> std::unique_ptr<QDialog> {
        return openPrintPreview(platform, settingsFile, PrintPreviewHost{owner.image, owner.notSaved, owner.showHint},
                                &owner);
    };
    RemoteControlWindow remote(platform, windows);
    auto frame = std::make_unique<CaptureFrameWindow>(platform, remote);
    CaptureFrameWindowLink frameLink(*frame);
    remote.attachFrame(&frameLink);
    // Told to end from outside (the session, a termination signal): no question, settings saved.
    OutsideEndWatch outsideEnd([&remote] { remote.saveSettings(); }, [&remote] { remote.endWithoutAsking(); });
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &remote,
                     [&remote] { remote.endWithoutAsking(); });

    remote.show();
    const int status = QApplication::exec();

    // Reverse order of creation: the frame writes its values first, then the Remote Control.
    remote.attachFrame(nullptr);
    frame.reset();
    return status;
}
