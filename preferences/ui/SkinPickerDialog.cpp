#include "preferences/ui/SkinPickerDialog.h"

#include "app/RemoteControlShape.h"
#include "app/SkinPicture.h"
#include "common/DesignLength.h"
#include "common/ui/BitmapImage.h"
#include "preferences/SkinPicker.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <exception>

namespace {

// The preview decodes with the skins' own limits, so a hostile file costs no more here.
void showPreview(QLabel& preview, const QString& path)
{
    try {
        const SkinPicture skin = loadSkinPicture(path.toStdString(), {kRemoteControlWidth, kRemoteControlHeight});
        preview.setPixmap(QPixmap::fromImage(toQImage(skin.visible)));
    } catch (const std::exception&) {
        preview.setPixmap({});
        preview.setText(QStringLiteral("(no preview)"));
    }
}

// A filter's patterns as its caption lists them in brackets, separated by ";".
QStringList patternsOf(const QString& caption)
{
    const qsizetype open = caption.lastIndexOf('(');
    const qsizetype close = caption.lastIndexOf(')');
    if (open < 0 || close < open) {
        return {};
    }
    return caption.mid(open + 1, close - open - 1).split(';', Qt::SkipEmptyParts);
}

} // namespace

std::optional<std::string> pickSkin(QWidget* owner, const std::string& fieldText, const std::string& programFolder,
                                    int pixelsPerInch)
{
    QFileDialog dialog(owner, QString::fromLatin1(kSkinPickerTitle),
                       QString::fromStdString(skinPickerFolder(fieldText, programFolder)));
    dialog.setObjectName(QStringLiteral("SkinPicker"));
    // Qt's own dialog: a preview pane can be added to it.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Names match whatever their case: BLUE.BMP is a bitmap too.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    const QStringList filters{QString::fromLatin1(kSkinBitmapFilter), QString::fromLatin1(kSkinJpegFilter)};
    dialog.setNameFilters(filters);
    // Any other index opens on the first filter.
    dialog.selectNameFilter(filters.value(skinFilterIndex() - 1, filters.first()));
    // The dialog takes a filter's patterns from its caption as a list separated by blanks; these
    // captions separate them with ";", so the file list is given each chosen filter's patterns here.
    if (auto* files = dialog.findChild<QFileSystemModel*>()) {
        const auto usePatterns = [files](const QString& caption) { files->setNameFilters(patternsOf(caption)); };
        usePatterns(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, files, usePatterns);
    }

    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("SkinPreview"));
    preview->setFixedSize(kRemoteControlWidth + 8, kRemoteControlHeight + 8);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    }
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                     [preview](const QString& path) { showPreview(*preview, path); });
    // Room for the file list's columns beside the preview, in proportion to the screen's density.
    QSize size = dialog.sizeHint().expandedTo(
        QSize(scaledDesignLength(800, pixelsPerInch), scaledDesignLength(480, pixelsPerInch)));
    if (const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize() * 0.9);
    }
    dialog.resize(size);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const std::string chosen = dialog.selectedFiles().first().toStdString();
    skinFilterIndex() = skinFilterIndexFor(chosen);
    return chosen;
}
