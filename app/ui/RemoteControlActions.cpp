#include "app/ui/RemoteControlActions.h"

#include "app/ui/ButtonIcons.h"

#include <QAction>
#include <QToolButton>

namespace {

// The small title-bar buttons (Menu, Close) show 11-pixel pictures, the others 16.
int buttonPictureSize(Command command)
{
    return command == Command::Menu || command == Command::Close ? 11 : 16;
}

// The button's picture at its own size, and the menu's picture at the menus' size: one icon
// serves both, each asking for its own size.
QIcon commandIcon(const CommandRow& row)
{
    const int buttonSize = buttonPictureSize(row.command);
    if (row.menuPicture == row.picture && buttonSize == 16) {
        return remoteIcon(row.picture, buttonSize);
    }
    // The button's picture only at its own size, the menu's at every size a menu asks for at
    // any density, so neither picture stands in for the other.
    QIcon icon;
    const QIcon button = remoteIcon(row.picture, buttonSize);
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active}) {
        icon.addPixmap(button.pixmap(buttonSize, mode), mode);
    }
    for (int size : {16, 20, 24, 32, 48}) {
        const QIcon menu = remoteIcon(row.menuPicture, size);
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active}) {
            icon.addPixmap(menu.pixmap(size, mode), mode);
        }
    }
    return icon;
}

QString tooltipFor(const CommandRow& row)
{
    const QString caption = QString::fromLatin1(row.caption);
    return row.keyText != nullptr ? caption + " (" + QString::fromLatin1(row.keyText) + ")" : caption;
}

QString objectNameFor(const CommandRow& row)
{
    QString name = QString::fromLatin1(row.caption).remove(QLatin1Char('.')).remove(QLatin1Char(' '));
    name[0] = name[0].toLower();
    return name + "Action";
}

} // namespace

RemoteControlActions::RemoteControlActions(QObject* owner, const std::function<void(Command)>& run)
{
    for (const CommandRow& row : commandRows()) {
        auto* action =
            new QAction(commandIcon(row), QString::fromLatin1(row.menuText ? row.menuText : row.caption), owner);
        action->setObjectName(objectNameFor(row));
        action->setCheckable(row.checkable);
        action->setEnabled(!row.needsCapture);
        QObject::connect(action, &QAction::triggered, owner, [run, command = row.command] { run(command); });
        actions_[static_cast<size_t>(row.command)] = action;
    }
    showTooltips(true);
}

void RemoteControlActions::showTooltips(bool on)
{
    for (const CommandRow& row : commandRows()) {
        (*this)[row.command]->setToolTip(on ? tooltipFor(row) : QString());
    }
}

void RemoteControlActions::useSystemMenuTexts()
{
    for (const CommandRow& row : commandRows()) {
        if (row.systemMenuText != nullptr) {
            (*this)[row.command]->setText(QString::fromLatin1(row.systemMenuText));
        }
    }
    (*this)[Command::MinimizeRestore]->setIcon(commandIcon(commandRow(Command::MinimizeRestore)));
}

void RemoteControlActions::useTrayMenuTexts(bool minimized)
{
    for (const CommandRow& row : commandRows()) {
        if (row.menuText != nullptr) {
            (*this)[row.command]->setText(QString::fromLatin1(row.menuText));
        }
    }
    // The default item reads "Minimize", or "Restore" while the application is minimised.
    QAction* minimize = (*this)[Command::MinimizeRestore];
    minimize->setText(minimized ? "Restore" : "Minimize");
    minimize->setIcon(remoteIcon(minimized ? RemoteIcon::Restore : RemoteIcon::Minimize));
}

void RemoteControlActions::attachButton(QToolButton& button, Command command) const
{
    button.setDefaultAction((*this)[command]);
}
