// The modal windows that other parts of the program provide to the Remote Control. A command
// whose window is not provided stays disabled, as its button is before the first capture.
#pragma once

#include "editor/EditorResult.h"

#include <functional>
#include <memory>

class QDialog;
class TControlForm;

// Creates the window with `owner` as its parent; the Remote Control sets the caption, shows it
// modally with exec() and destroys it. Returning null means "no window" (for example the Print
// Preview after it has told the user "No printer installed").
using ModalWindowFactory = std::function<std::unique_ptr<QDialog>(TControlForm& owner)>;

struct RemoteWindowFactories {
    // TSaveForm: reads FImage and FCaptureNumber; may clear FNotSaved and increment FCaptureNumber.
    ModalWindowFactory save;
    // TPreviewForm: reads FImage; may clear FNotSaved.
    ModalWindowFactory print;
    // TEditForm: works on FEditImage and FUndoImage; exec() returns EditResultClose (2),
    // EditResultSave (9) or EditResultPrint (10).
    ModalWindowFactory edit;
    // TOptionsForm: writes the Remote Control's fields back on "OK".
    ModalWindowFactory preferences;
};

constexpr int EditResultClose = kEditResultClose;
constexpr int EditResultSave = kEditResultSave;
constexpr int EditResultPrint = kEditResultPrint;
