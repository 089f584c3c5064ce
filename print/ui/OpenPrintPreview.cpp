#include "print/ui/OpenPrintPreview.h"

#include "platform/Platform.h"
#include "platform/PrintService.h"

std::unique_ptr<PrintPreviewWindow> openPrintPreview(const Platform& platform, SettingsFile& settingsFile,
                                                     const PrintPreviewHost& host, QWidget* owner)
{
    if (platform.printing == nullptr || !platform.printing->selectCurrentPrinter()) {
        platform.messages.showMessage(kNoPrinterMessage, owner);
        return nullptr;
    }
    return std::make_unique<PrintPreviewWindow>(platform, settingsFile, host, owner);
}
