#include "preferences/ui/HotkeyField.h"

#include "hotkeys/HotkeyEntry.h"
#include "platform/ui/QtKeyPress.h"

#include <QKeyEvent>

#include <utility>

HotkeyField::HotkeyField(KeyNameLookup keyName, QWidget* parent) : QLineEdit(parent), keyName_(std::move(keyName))
{
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setFocusPolicy(Qt::StrongFocus);
    setShortcut(0);
}

void HotkeyField::setShortcut(Shortcut shortcut)
{
    shortcut_ = shortcut;
    const std::string text = shortcutText(shortcut, keyName_);
    setText(text.empty() ? QStringLiteral("None") : QString::fromStdString(text));
}

bool HotkeyField::event(QEvent* event)
{
    // A combination with Ctrl or Alt belongs to the field, not to a shortcut of the window.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void HotkeyField::keyPressEvent(QKeyEvent* event)
{
    const KeyPress press = keyPressOf(*event);
    if (const std::optional<Shortcut> accepted = acceptedHotkey(press.virtualKey, press.modifiers)) {
        setShortcut(*accepted);
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        // Alone, they free the hotkey: no key, nothing registered.
        if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            setShortcut(0);
        }
        event->accept();
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        // Focus moves and the dialog's buttons answer as everywhere else.
        // QWidget's handler ignores the key so it reaches the dialog; QLineEdit's would take it.
        QWidget::keyPressEvent(event); // NOLINT(bugprone-parent-virtual-call)
        return;
    default:
        break;
    }
    // Every other key, alone or with Shift alone, is refused: the field keeps its combination.
    event->accept();
}
