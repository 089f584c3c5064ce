#include "app/ui/HotkeyField.h"

#include "app/HotkeyEntry.h"

#include <QKeyEvent>

#include <utility>

namespace {

struct KeyCode {
    int qtKey;
    int virtualKey;
};

// Named keys, and punctuation by its unshifted key (US layout), as the desktop's key codes number them.
constexpr KeyCode kKeyCodes[] = {
    {Qt::Key_Backspace, 0x08},  {Qt::Key_Tab, 0x09},          {Qt::Key_Backtab, 0x09},    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},      {Qt::Key_Pause, 0x13},        {Qt::Key_Escape, 0x1B},     {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},     {Qt::Key_PageDown, 0x22},     {Qt::Key_End, 0x23},        {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},       {Qt::Key_Up, 0x26},           {Qt::Key_Right, 0x27},      {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C},      {Qt::Key_Insert, 0x2D},       {Qt::Key_Delete, 0x2E},     {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},    {Qt::Key_Alt, 0x12},          {Qt::Key_Meta, 0x5B},       {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},      {Qt::Key_Equal, 0xBB},        {Qt::Key_Plus, 0xBB},       {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},       {Qt::Key_Minus, 0xBD},        {Qt::Key_Underscore, 0xBD}, {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},    {Qt::Key_Slash, 0xBF},        {Qt::Key_Question, 0xBF},   {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB},  {Qt::Key_BraceLeft, 0xDB},  {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},        {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
};

// Shift with a digit gives its symbol; the hotkey is the digit's key.
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

} // namespace

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

int HotkeyField::virtualKeyOf(int qtKey, bool keypad)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return qtKey;
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return keypad ? 0x60 + (qtKey - Qt::Key_0) : qtKey;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return 0x70 + (qtKey - Qt::Key_F1);
    }
    for (int digit = 0; digit < 10; ++digit) {
        if (qtKey == kShiftedDigits[digit]) {
            return '0' + digit;
        }
    }
    for (const KeyCode& code : kKeyCodes) {
        if (code.qtKey == qtKey) {
            return code.virtualKey;
        }
    }
    return 0;
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
    const Qt::KeyboardModifiers m = event->modifiers();
    const KeyModifiers modifiers{(m & Qt::ShiftModifier) != 0, (m & Qt::ControlModifier) != 0,
                                 (m & Qt::AltModifier) != 0};
    const int virtualKey = virtualKeyOf(event->key(), (m & Qt::KeypadModifier) != 0);
    if (const std::optional<Shortcut> accepted = acceptedHotkey(virtualKey, modifiers)) {
        setShortcut(*accepted);
        event->accept();
        return;
    }
    switch (event->key()) {
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
