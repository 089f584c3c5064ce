// Program entry: the application object, the platform, the two permanent windows.
#include "app/ControlUnit.h"
#include "app/MainFormLink.h"
#include "capture/MainUnit.h"
#include "common/HivePaths.h"
#include "common/SettingsFile.h"
#include "editor/ui/ImageEditorWindow.h"
#include "formats/SaveUnit.h"
#include "platform/FileRegistryHive.h"
#include "platform/Platform.h"
#include "platform/x11/ChmHelpService.h"
#include "platform/x11/QtPrintService.h"
#include "print/ui/OpenPrintPreview.h"
#include "platform/x11/QtClipboardService.h"
#include "platform/x11/QtMessageService.h"
#include "platform/x11/X11ScreenSource.h"

#include <QApplication>
#include <QToolButton>

#include <filesystem>
#include <memory>
#include <optional>

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
    // The Remote Control hides itself during captures; only its granted close ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    FileRegistryHive userHive(userHivePath(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
    std::optional<FileRegistryHive> machineHive;
    std::error_code missing;
    if (std::filesystem::exists(machineHivePath(), missing)) {
        machineHive.emplace(machineHivePath(), "HKEY_LOCAL_MACHINE", FileRegistryHive::Access::ReadOnly);
    }
    X11ScreenSource screen;
    QtClipboardService clipboard;
    ChmHelpService help;
    QtMessageService messages;
    Platform platform{userHive,       machineHive ? &*machineHive : nullptr, screen, clipboard, help, messages,
                      programFolder()};

    SettingsFile settingsFile(settingsFilePath());
    RemoteWindowFactories windows;
    windows.save = [&](TControlForm& owner) {
        return std::make_unique<TSaveForm>(
            platform, settingsFile, SaveFormHost{owner.FImage, owner.FCaptureNumber, owner.FNotSaved, owner.FShowHint},
            &owner);
    };
    windows.edit = [&](TControlForm& owner) {
        QToolButton* print = owner.button("sbPrint");
        return std::make_unique<ImageEditorWindow>(platform, settingsFile,
                                                   ImageEditorHost{owner.FImage, *owner.FEditImage, *owner.FUndoImage,
                                                                   owner.FShowHint,
                                                                   print != nullptr && print->isEnabled()},
                                                   &owner);
    };
    QtPrintService printing;
    windows.print = [&](TControlForm& owner) -> std::unique_ptr<QDialog> {
        return openPrintPreview(platform, printing, settingsFile,
                                PrintPreviewHost{owner.FImage, owner.FNotSaved, owner.FShowHint}, &owner);
    };
    TControlForm remote(platform, windows);
    auto frame = std::make_unique<TMainForm>(platform, remote);
    MainFormLink frameLink(*frame);
    remote.attachFrame(&frameLink);

    remote.show();
    const int status = QApplication::exec();

    // Reverse order of creation: the frame writes its values first, then the Remote Control.
    remote.attachFrame(nullptr);
    frame.reset();
    return status;
}
