#include "capture/FrameKeys.h"

std::optional<FrameCommand> frameCommandForKey(int virtualKey, KeyModifiers modifiers)
{
    const bool ctrlAlone = modifiers.ctrl && !modifiers.shift && !modifiers.alt && !modifiers.meta;
    const bool altAlone = modifiers.alt && !modifiers.shift && !modifiers.ctrl && !modifiers.meta;
    if (virtualKey == kVirtualKeyF1) {
        if (ctrlAlone) {
            return std::nullopt;
        }
        return FrameCommand::Help;
    }
    if (virtualKey == kVirtualKeyF4 && altAlone) {
        return FrameCommand::Close;
    }
    if (!ctrlAlone) {
        return std::nullopt;
    }
    switch (virtualKey) {
    case 'C':
        return FrameCommand::Capture;
    case 'E':
        return FrameCommand::Edit;
    case 'F':
        return FrameCommand::FullScreen;
    case 'M':
        return FrameCommand::Menu;
    case 'O':
        return FrameCommand::Preferences;
    case 'P':
        return FrameCommand::Print;
    case 'S':
        return FrameCommand::Save;
    default:
        return std::nullopt;
    }
}
