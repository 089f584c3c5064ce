#include "app/ui/KeyTable.h"

namespace {

constexpr Qt::KeyboardModifiers kChordModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

RemoteKeyCommand ctrlLetterCommand(int key)
{
    switch (key) {
    case Qt::Key_C:
        return RemoteKeyCommand::Capture;
    case Qt::Key_E:
        return RemoteKeyCommand::Edit;
    case Qt::Key_F:
        return RemoteKeyCommand::FullScreenToggle;
    case Qt::Key_M:
        return RemoteKeyCommand::SystemMenu;
    case Qt::Key_O:
        return RemoteKeyCommand::Preferences;
    case Qt::Key_P:
        return RemoteKeyCommand::Print;
    case Qt::Key_S:
        return RemoteKeyCommand::Save;
    case Qt::Key_T:
        return RemoteKeyCommand::TimerToggle;
    default:
        return RemoteKeyCommand::None;
    }
}

} // namespace

RemoteKeyCommand remoteKeyCommand(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers chord = modifiers & kChordModifiers;
    const bool ctrlAlone = chord == Qt::ControlModifier;
    if (ctrlAlone) {
        return ctrlLetterCommand(key);
    }
    if (key == Qt::Key_F1) {
        return RemoteKeyCommand::Help;
    }
    if (key == Qt::Key_F4 && chord == Qt::AltModifier) {
        return RemoteKeyCommand::Close;
    }
    return RemoteKeyCommand::None;
}
