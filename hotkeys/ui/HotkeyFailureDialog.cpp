#include "hotkeys/ui/HotkeyFailureDialog.h"

#include "common/ui/ScreenDensity.h"
#include "hotkeys/HotkeyFailureLayout.h"
#include "platform/Platform.h"
#include "platform/ShowHelpTopic.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

namespace {

QRect toQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

} // namespace

HotkeyFailureDialog::HotkeyFailureDialog(const std::string& message, const Platform& platform, std::string helpFile,
                                         QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), help_(platform.help),
      pixelsPerInch_(layoutPixelsPerInch(platform.pixelsPerInch)), helpFile_(std::move(helpFile))
{
    setObjectName("HotkeyFailureDialog");
    setWindowTitle("Zentrap");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    frame_ = frame;
    icon_ = new QLabel(this);
    message_ = new QLabel(QString::fromStdString(message).replace("\r\n", "\n"), this);
    message_->setObjectName("message");
    message_->setTextFormat(Qt::PlainText);
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    disableHotkeys_ = new QCheckBox("Disable hotkeys", this);
    disableHotkeys_->setObjectName("disableHotkeys");
    ok_ = new QPushButton("&OK", this);
    ok_->setObjectName("ok");
    ok_->setDefault(true);
    helpButton_ = new QPushButton("&Help", this);
    helpButton_->setObjectName("help");
    helpButton_->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(helpButton_, &QPushButton::clicked, this, [this] { showHelpTopic(help_, helpFile_, "HTML/Hotkeys.htm"); });
    placeControls();
    ok_->setFocus();
}

void HotkeyFailureDialog::placeControls()
{
    const int messageWidth = scaledDesignLength(kHotkeyFailureMessageWidth, pixelsPerInch_);
    const int messageHeight = message_->heightForWidth(messageWidth);
    const HotkeyFailureLayout layout = hotkeyFailureLayout(
        pixelsPerInch_, messageHeight, {disableHotkeys_->sizeHint().width(), disableHotkeys_->sizeHint().height()});
    setFixedSize(layout.client.width, layout.client.height);
    frame_->setGeometry(toQRect(layout.frame));
    icon_->setGeometry(toQRect(layout.icon));
    const int iconSize = layout.icon.width();
    icon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(iconSize, iconSize));
    message_->setGeometry(toQRect(layout.message));
    disableHotkeys_->setGeometry(toQRect(layout.checkBox));
    ok_->setGeometry(toQRect(layout.ok));
    helpButton_->setGeometry(toQRect(layout.help));
}

void HotkeyFailureDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Centred on the screen rather than on the owner, which may sit at the screen's edge.
    if (!event->spontaneous()) {
        if (QScreen* screen = this->screen()) {
            QRect area = frameGeometry();
            area.moveCenter(screen->geometry().center());
            move(area.topLeft());
        }
    }
}

void HotkeyFailureDialog::keyPressEvent(QKeyEvent* event)
{
    // Ctrl+C copies the message, as the toolkit's own message boxes do, so that it can be pasted.
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(messageText());
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool HotkeyFailureDialog::disableHotkeys() const
{
    return disableHotkeys_->isChecked();
}

QString HotkeyFailureDialog::messageText() const
{
    return message_->text();
}
