#include "app/DesktopPlatform.h"

#include "common/HivePaths.h"
#include "formats/BmpWriter.h"
#include "formats/PngWriter.h"
#include "help/ui/ChmHelpService.h"
#include "platform/FileRegistryHive.h"
#include "platform/wayland/ScreencopyScreenSource.h"
#include "platform/x11/PortalScreenSource.h"
#include "platform/x11/QtClock.h"
#include "platform/x11/QtMessageService.h"
#include "platform/x11/QtPrintService.h"
#include "platform/x11/X11ClipboardService.h"
#include "platform/x11/X11HotkeyService.h"
#include "platform/x11/X11KeyWatcher.h"
#include "platform/x11/X11ScreenSource.h"
#include "platform/x11/X11UncoverWatch.h"
#include "platform/x11/X11WindowManager.h"

#include <filesystem>
#include <memory>
#include <optional>

namespace {

FileRegistryHive openUserHive(bool useFile)
{
    if (!useFile) {
        return FileRegistryHive();
    }
    return FileRegistryHive(userHivePath(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
}

constexpr char kWaylandHotkeys[] =
    "In this Wayland session the hotkeys work only while an X11 program has the keyboard. For the whole desktop, "
    "bind \"zentrap --capture\" (--full-screen, --edit, --save, --print) in the desktop's keyboard settings.";
constexpr char kWaylandPrintScreen[] =
    "In this Wayland session PrintScreen is seen only while an X11 program has the keyboard. For the whole "
    "desktop, bind \"zentrap --capture\" to it in the desktop's keyboard settings.";

} // namespace

struct DesktopPlatform::Services {
    explicit Services(bool useHiveFiles) : userHive(openUserHive(useHiveFiles))
    {
        std::error_code missing;
        if (useHiveFiles && std::filesystem::exists(machineHivePath(), missing)) {
            machineHive.emplace(machineHivePath(), "HKEY_LOCAL_MACHINE", FileRegistryHive::Access::ReadOnly);
        }
        // XWayland keeps other programs' pixels from X11 programs: the desktop is asked instead,
        // silently through its compositor where it offers screencopy, else through the portal.
        if (x11Screen.isXWayland()) {
            std::string notOffered;
            screencopyScreen = ScreencopyScreenSource::offered(x11Screen, notOffered);
            if (!screencopyScreen && PortalScreenSource::sessionBusConfigured()) {
                portalScreen.emplace(x11Screen);
            }
        }
        // Keys typed into Wayland windows never reach the X server.
        if (x11Screen.isXWayland()) {
            hotkeys.setLimitation(kWaylandHotkeys);
            keyWatcher.setLimitation(kWaylandPrintScreen);
        }
    }

    ScreenSource& screen()
    {
        if (screencopyScreen) {
            return *screencopyScreen;
        }
        return portalScreen ? static_cast<ScreenSource&>(*portalScreen) : x11Screen;
    }

    FileRegistryHive userHive;
    std::optional<FileRegistryHive> machineHive;
    X11ScreenSource x11Screen;
    std::unique_ptr<ScreencopyScreenSource> screencopyScreen;
    std::optional<PortalScreenSource> portalScreen;
    X11ClipboardService clipboard{{writeBmpFile, writePng}};
    ChmHelpService help;
    QtMessageService messages;
    QtClock clock;
    QtPrintService printing;
    X11HotkeyService hotkeys;
    X11KeyWatcher keyWatcher;
    X11WindowManager windowManager;
    X11UncoverWatch uncoverWatch;
};

DesktopPlatform::DesktopPlatform(DesktopPlatformOptions options)
    : services_(std::make_unique<Services>(options.useHiveFiles))
{
    Services& s = *services_;
    platform_ = std::make_unique<Platform>(Platform{
        s.userHive,
        s.machineHive ? &*s.machineHive : nullptr,
        s.screen(),
        s.clipboard,
        options.help != nullptr ? *options.help : s.help,
        options.messages != nullptr ? *options.messages : s.messages,
        s.clock,
        std::move(options.programFolder),
        options.globalKeys ? &s.hotkeys : nullptr,
        options.globalKeys ? &s.keyWatcher : nullptr,
        &s.windowManager,
        options.tray,
        &s.printing,
        &s.uncoverWatch,
    });
}

DesktopPlatform::~DesktopPlatform() = default;

QtMessageService& DesktopPlatform::messageBoxes()
{
    return services_->messages;
}

FileRegistryHive& DesktopPlatform::userHive()
{
    return services_->userHive;
}

X11ClipboardService& DesktopPlatform::clipboard()
{
    return services_->clipboard;
}
