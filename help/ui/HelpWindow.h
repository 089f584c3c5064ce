// The help window: shows pages of a compiled help file (.chm) beside its table of contents, follows
// links inside the file, and shows an error page instead of a topic that cannot be read.
#pragma once

#include "help/ChmArchive.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <memory>

class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // Laid out at `pixelsPerInch` (0: the toolkit's screen).
    explicit HelpWindow(int pixelsPerInch = 0, QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Shows the topic named by an address "<help file>::/<topic>".
    void showTopic(const QString& address);
    // Shows the help file with its table of contents and its start page.
    void showContents(const QString& helpFile);

    // What the window shows now.
    QString helpFile() const { return helpFile_; }
    // The topic's path inside the file ("HTML/Saving.htm"); empty while an error page is shown.
    QString currentTopic() const;
    bool showsError() const { return showsError_; }
    QString pageText() const;
    // The entries of the table of contents, in order.
    QStringList contentsEntries() const;

private:
    class ArchiveBrowser;

    bool openFile(const QString& helpFile);
    void fillContents();
    void openTopic(const QString& topic);
    void followLink(const QUrl& link);
    void showError(const QString& heading, const QString& detail);
    // The window's title: the help file's title, then the page's.
    void showPageTitle(const QString& pageTitle);
    void contentsItemActivated(QTreeWidgetItem* item);

    QString helpFile_;
    std::unique_ptr<ChmArchive> archive_;
    QString defaultTopic_;
    QString projectTitle_;
    bool showsError_ = false;
    // The page ("browser") and the table of contents ("contents"), found by these object names.
    QTextBrowser* browser_ = nullptr;
    QTreeWidget* contents_ = nullptr;
};
