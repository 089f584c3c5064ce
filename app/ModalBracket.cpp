#include "app/ModalBracket.h"

ModalBracket::ModalBracket(ModalHost& host, bool repaintAfter)
    : host_(host), repaintAfter_(repaintAfter), frameWasVisible_(host.frameVisible()),
      hotkeysWereEnabled_(host.hotkeysEnabled())
{
    host_.setHotkeysEnabled(false);
    host_.setFrameVisible(false);
}

ModalBracket::~ModalBracket()
{
    host_.setFrameVisible(frameWasVisible_);
    if (repaintAfter_) {
        host_.repaintRemote();
    }
    host_.setHotkeysEnabled(hotkeysWereEnabled_);
}

int ModalBracket::runWindow(const ModalWindowKind& kind,
                            const std::function<int(const std::string& caption)>& showWindow)
{
    struct TrayMenuGuard {
        ModalHost& host;
        bool disabled;
        ~TrayMenuGuard()
        {
            if (disabled) {
                host.enableTrayMenu();
            }
        }
    };
    if (kind.disablesTrayMenu) {
        host_.disableTrayMenu();
    }
    TrayMenuGuard guard{host_, kind.disablesTrayMenu};
    return showWindow(kind.caption);
}
