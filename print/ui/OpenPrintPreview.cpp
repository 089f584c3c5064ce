#include "print/ui/OpenPrintPreview.h"

#include "platform/Platform.h"
#include "platform/PrintService.h"

std::unique_ptr<PrintPreviewWindow> openPrintPreview(const Platform& platform, PrintService& printer,
                                                     SettingsFile& settingsFile, const PrintPreviewHost& host,
                                                     QWidget* owner)
{
    if (!printer.selectCurrentPrinter()) {
        platform.messages.showMessage(kNoPrinterMessage, owner);
        return nullptr;
    }
    return std::make_unique<PrintPreviewWindow>(platform, printer, settingsFile, host, owner);
}
