// The steps around every modal window of the Remote Control: the Capture Frame hidden, the
// hotkeys off and (for some windows) the tray menu disabled while it is open, all restored after.
#pragma once

#include <functional>
#include <string>

// What the bracket needs from the Remote Control.
class ModalHost {
public:
    virtual ~ModalHost() = default;

    virtual bool frameVisible() const = 0;
    virtual void setFrameVisible(bool visible) = 0;
    virtual bool hotkeysEnabled() const = 0;
    virtual void setHotkeysEnabled(bool enabled) = 0;
    virtual void disableTrayMenu() = 0;
    virtual void enableTrayMenu() = 0;
    virtual void repaintRemote() = 0;
    // After the window has closed: the Remote Control takes the keyboard again.
    virtual void takeKeyboardBack() {}
};

// One row of the table of modal windows.
struct ModalWindowKind {
    std::string caption;
    bool disablesTrayMenu = false;
    bool repaints = false;
};

// Construction turns the hotkeys off and hides the Capture Frame; destruction restores both (and
// repaints when asked), so they come back even when the window fails with an exception. Brackets nest: an inner one
// restores what the outer one left.
class ModalBracket {
public:
    ModalBracket(ModalHost& host, bool repaintAfter);
    ~ModalBracket();
    ModalBracket(const ModalBracket&) = delete;
    ModalBracket& operator=(const ModalBracket&) = delete;

    // `create` makes the window and gives it the caption (false: there is no window,
    // for example after "No printer installed"; the tray menu is then left alone); the tray menu
    // is disabled when the kind says so; `show` shows it modally and returns its result; `destroy`
    // frees it and the tray menu is enabled again. Destroying and enabling also happen when
    // `show` throws. Without a window the result is 0.
    int runWindow(const ModalWindowKind& kind, const std::function<bool(const std::string& caption)>& create,
                  const std::function<int()>& show, const std::function<void()>& destroy);

    // For a window after which the program ends: the frame stays hidden and nothing is repainted.
    // The hotkeys still get their enabled state back, since it is saved at exit as the user's choice.
    void programEnds() { programEnds_ = true; }

private:
    ModalHost& host_;
    bool repaintAfter_;
    bool frameWasVisible_;
    bool hotkeysWereEnabled_;
    bool programEnds_ = false;
};

// The table of the Remote Control's modal windows.
namespace ModalWindows {
inline const ModalWindowKind save{"Zentrap Save As", true, true};
inline const ModalWindowKind print{"Zentrap Print Preview", true, true};
inline const ModalWindowKind edit{"Image Editor", true, true};
inline const ModalWindowKind preferences{"Zentrap Preferences", true, false};
inline const ModalWindowKind view{"Zentrap View", false, false};
inline const ModalWindowKind about{"Zentrap About", false, false};
// Repainted only when the exit is refused: an accepted exit restores nothing.
inline const ModalWindowKind exitQuestion{"Zentrap", true, true};
} // namespace ModalWindows
