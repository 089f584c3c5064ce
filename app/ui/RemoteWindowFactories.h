// The modal windows that other parts of the program provide to the Remote Control. A command
// whose window is not provided stays disabled, as its button is before the first capture.
#pragma once

#include "app/CaptureSession.h"
#include "app/RemoteControlSettings.h"
#include "editor/EditorResult.h"

#include <functional>
#include <memory>

class QDialog;
class QWidget;

// What a modal window of the Remote Control works on. The settings are the Remote Control's own,
// not a copy, so a window reads them as they are when it reads them.
struct ModalWindowContext {
    CaptureSession& session;
    QWidget& owner;                        // the Remote Control: the window's parent
    const RemoteControlSettings& settings; // tooltips and the rest
    bool printAvailable;                   // the Remote Control can print now (its Print button is enabled)
};

// Creates the window with `context.owner` as its parent; the Remote Control sets the caption,
// shows it modally with exec() and destroys it. Returning null means "no window" (for example the
// Print Preview after it has told the user "No printer installed").
using ModalWindowFactory = std::function<std::unique_ptr<QDialog>(const ModalWindowContext& context)>;

struct RemoteWindowFactories {
    // SaveAsDialog: reads image and captureNumber; may clear notSaved and increment captureNumber.
    ModalWindowFactory save;
    // PrintPreviewWindow: reads image; may clear notSaved.
    ModalWindowFactory print;
    // ImageEditorWindow: works on editImage and undoImage; exec() returns kEditResultClose,
    // kEditResultSave or kEditResultPrint (editor/EditorResult.h).
    ModalWindowFactory edit;
};
