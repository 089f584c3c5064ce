// The skin picker as the user sees it: the two filters with their captions list the pictures of a
// folder whatever the case of their extensions, and a chosen BLUE.BMP leaves the JPEG filter behind.
#include "preferences/ui/SkinPickerDialog.h"
#include "preferences/SkinPicker.h"

#include "support/TempFolder.h"
#include "support/TestApplication.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

// The names the dialog's file list shows, sorted and joined with "|".
std::string listed(QFileDialog& dialog)
{
    QStringList names;
    auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
    if (view == nullptr) {
        return {};
    }
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row) {
        names << view->model()->index(row, 0, root).data().toString();
    }
    names.sort();
    return names.join('|').toStdString();
}

} // namespace

TEST(SkinPickerDialog, ListsPicturesWhateverTheCaseOfTheirExtension)
{
    testApplication();
    TempFolder folder;
    for (const char* name : {"BLUE.BMP", "red.bmp", "Green.Bmp", "photo.JPG", "sea.jpeg", "notes.txt", "bmp"}) {
        std::ofstream(folder.path / name) << "x";
    }
    skinFilterIndex() = 1;
    const std::string blue = (folder.path / "BLUE.BMP").string();

    QObject guard; // ends the timers with the test
    QTimer::singleShot(0, &guard, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no file dialog";
            return;
        }
        const QStringList filters = dialog->nameFilters();
        EXPECT_EQ(filters.join('|').toStdString(), "Bitmaps (*.bmp)|JPEG Images (*.jpg;*.jpeg)");
        EXPECT_EQ(dialog->selectedNameFilter(), filters.value(0));
        EXPECT_EQ(dialog->windowTitle(), "Select ZTP! Skin ");
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed(*dialog).find("red.bmp") != std::string::npos; }, 5000));
        EXPECT_EQ(listed(*dialog), "BLUE.BMP|Green.Bmp|red.bmp");
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        QTest::keyClick(types, Qt::Key_Down);
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed(*dialog).find("sea.jpeg") != std::string::npos; }, 5000));
        EXPECT_EQ(listed(*dialog), "photo.JPG|sea.jpeg");
        QTest::keyClick(types, Qt::Key_Up);
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed(*dialog).find("BLUE.BMP") != std::string::npos; }, 5000));
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        QTest::keyClicks(name, "BLUE.BMP");
        static_cast<QDialog*>(dialog)->accept();
    });
    QTimer::singleShot(10000, &guard, [] {
        if (QWidget* stuck = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "the picker did not close";
            stuck->close();
        }
    });
    const std::optional<std::string> chosen = pickSkin(nullptr, (folder.path / "old.bmp").string(), "/nowhere/", 96);
    EXPECT_EQ(chosen, blue);
    EXPECT_EQ(skinFilterIndex(), 2);
}
