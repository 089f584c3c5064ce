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
    if (!programEnds_) {
        host_.setFrameVisible(frameWasVisible_);
        if (repaintAfter_) {
            host_.repaintRemote();
        }
    }
    host_.setHotkeysEnabled(hotkeysWereEnabled_);
    host_.takeKeyboardBack();
}

int ModalBracket::runWindow(const ModalWindowKind& kind, const std::function<bool(const std::string& caption)>& create,
                            const std::function<int()>& show, const std::function<void()>& destroy)
{
    if (!create(kind.caption)) {
        return 0;
    }
    struct DestroyGuard {
        ModalHost& host;
        const std::function<void()>& destroy;
        bool trayDisabled = false;
        ~DestroyGuard()
        {
            destroy();
            if (trayDisabled) {
                host.enableTrayMenu();
            }
        }
    } guard{host_, destroy};
    if (kind.disablesTrayMenu) {
        host_.disableTrayMenu();
        guard.trayDisabled = true;
    }
    return show();
}
