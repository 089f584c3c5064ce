// The help window. Pages and pictures are read from the archive through the browser's resource hook,
// under URLs "chm:///<path in the file>", so the browser resolves relative links by itself.
#include "help/ui/HelpWindow.h"

#include "common/ui/ScreenDensity.h"
#include "help/ChmContents.h"
#include "help/HelpPageCheck.h"
#include "platform/ShowHelpTopic.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QSplitter>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QTreeWidget>

#include <vector>

namespace {

const char* const kScheme = "chm";
const char* const kWindowTitle = "Zentrap Help";
// Larger pages are refused rather than laid out for minutes.
constexpr std::size_t kMaxPageBytes = 4u << 20;

QUrl topicUrl(const QString& topic)
{
    QString path = topic;
    QString fragment;
    if (int hash = path.indexOf('#'); hash >= 0) {
        fragment = path.mid(hash + 1);
        path.truncate(hash);
    }
    while (path.startsWith('/'))
        path.remove(0, 1);
    QUrl url;
    url.setScheme(kScheme);
    url.setPath('/' + path, QUrl::DecodedMode);
    if (!fragment.isEmpty())
        url.setFragment(fragment, QUrl::DecodedMode);
    return url;
}

QString htmlPage(const QString& heading, const QString& detail)
{
    return QStringLiteral("<html><head><title>%1</title></head><body><h2>%1</h2><p>%2</p></body></html>")
        .arg(heading.toHtmlEscaped(), detail.toHtmlEscaped());
}

bool isIntactPage(const std::vector<std::uint8_t>& bytes)
{
    return isIntactHelpPage(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

QString damagedPageHeading()
{
    return QObject::tr("Damaged help page");
}

QString damagedPage(const QString& page, const QString& helpFile)
{
    return htmlPage(damagedPageHeading(),
                    QObject::tr("The page %1 in the help file %2 is damaged and cannot be shown.").arg(page, helpFile));
}

QString decodePage(const std::vector<std::uint8_t>& bytes)
{
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder.decode(data);
}

} // namespace

// A text browser whose pages, style sheets and pictures come from the help window's archive.
class HelpWindow::ArchiveBrowser : public QTextBrowser {
public:
    ArchiveBrowser(HelpWindow& owner, QWidget* parent) : QTextBrowser(parent), owner_(owner) {}

    QVariant loadResource(int type, const QUrl& url) override
    {
        if (url.scheme() != kScheme)
            return {};
        std::string path = url.path(QUrl::FullyDecoded).toStdString();
        std::optional<std::vector<std::uint8_t>> bytes;
        if (owner_.archive_ && owner_.archive_->isOpen())
            bytes = owner_.archive_->read(path);
        switch (type) {
        case QTextDocument::HtmlResource:
            if (!bytes)
                return htmlPage(tr("Topic not found"),
                                tr("The page %1 is not in the help file %2.").arg(url.path(), owner_.helpFile_));
            if (bytes->size() > kMaxPageBytes)
                return htmlPage(tr("Topic too large"), tr("The page %1 is too large to show.").arg(url.path()));
            if (!isIntactPage(*bytes))
                return damagedPage(url.path(), owner_.helpFile_);
            return decodePage(*bytes);
        case QTextDocument::StyleSheetResource:
            return bytes ? decodePage(*bytes) : QVariant();
        case QTextDocument::ImageResource: {
            if (!bytes)
                return {};
            QImage image = QImage::fromData(bytes->data(), static_cast<int>(bytes->size()));
            return image.isNull() ? QVariant() : QVariant(image);
        }
        default:
            return {};
        }
    }

private:
    HelpWindow& owner_;
};

HelpWindow::HelpWindow(int pixelsPerInch, QWidget* parent) : QWidget(parent, Qt::Window)
{
    projectTitle_ = kWindowTitle;
    setWindowTitle(projectTitle_);
    // Help never keeps the application alive, nor ends it when closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    // Designed at 96 pixels per inch; the text grows with the pixels per inch, so does the window.
    const int density = layoutPixelsPerInch(pixelsPerInch);
    auto scaled = [density](int designed) { return scaledDesignLength(designed, density); };
    resize(scaled(780), scaled(540));

    auto* splitter = new QSplitter(this);
    contents_ = new QTreeWidget(splitter);
    contents_->setObjectName("contents");
    contents_->setHeaderHidden(true);
    contents_->setColumnCount(1);
    browser_ = new ArchiveBrowser(*this, splitter);
    browser_->setObjectName("browser");
    browser_->setOpenLinks(false);
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({scaled(220), scaled(560)});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(contents_, &QTreeWidget::itemActivated, this, &HelpWindow::contentsItemActivated);
    connect(contents_, &QTreeWidget::itemClicked, this, &HelpWindow::contentsItemActivated);
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::showTopic(const QString& address)
{
    std::optional<HelpAddress> parsed = parseHelpAddress(address.toStdString());
    if (!parsed) {
        showError(tr("Help is not available"), tr("\"%1\" does not name a page of a help file.").arg(address));
        return;
    }
    if (openFile(QString::fromStdString(parsed->helpFile)))
        openTopic(parsed->topic.empty() ? defaultTopic_ : QString::fromStdString(parsed->topic));
}

void HelpWindow::showContents(const QString& helpFile)
{
    if (!openFile(helpFile))
        return;
    contents_->show();
    openTopic(defaultTopic_);
}

QString HelpWindow::currentTopic() const
{
    if (showsError_)
        return {};
    return browser_->source().path(QUrl::FullyDecoded).mid(1);
}

QString HelpWindow::pageText() const
{
    return browser_->toPlainText();
}

QStringList HelpWindow::contentsEntries() const
{
    QStringList entries;
    for (QTreeWidgetItemIterator it(contents_); *it; ++it)
        entries << (*it)->text(0);
    return entries;
}

// Keeps the archive that is open when the same file is asked for again; a file that failed to open
// is tried afresh, so a help file that appears later is found.
bool HelpWindow::openFile(const QString& helpFile)
{
    if (archive_ && archive_->isOpen() && helpFile == helpFile_)
        return true;
    helpFile_ = helpFile;
    projectTitle_ = kWindowTitle;
    archive_ = std::make_unique<ChmArchive>(helpFile.toStdString());
    defaultTopic_.clear();
    contents_->clear();
    if (!archive_->isOpen()) {
        showError(
            tr("Help is not available"),
            tr("The help file %1 could not be opened: %2.").arg(helpFile, QString::fromStdString(archive_->error())));
        return false;
    }
    fillContents();
    return true;
}

void HelpWindow::fillContents()
{
    ChmProjectInfo info;
    if (auto system = archive_->read("/#SYSTEM"))
        info = ParseChmSystem(*system);
    projectTitle_ = info.title.empty() ? QString(kWindowTitle) : QString::fromStdString(info.title);

    std::string contentsFile = info.contentsFile;
    if (contentsFile.empty() || !archive_->contains('/' + contentsFile)) {
        contentsFile.clear();
        for (const auto& path : archive_->objectPaths())
            if (path.size() > 4 && QString::fromStdString(path).endsWith(".hhc", Qt::CaseInsensitive)) {
                contentsFile = path.substr(1);
                break;
            }
    }
    std::vector<ChmContentsItem> items;
    if (!contentsFile.empty())
        if (auto sitemap = archive_->read('/' + contentsFile);
            sitemap && sitemap->size() <= kMaxPageBytes && isIntactPage(*sitemap))
            items = ParseChmSitemap(std::string_view(reinterpret_cast<const char*>(sitemap->data()), sitemap->size()));

    std::vector<QTreeWidgetItem*> parents;
    for (const auto& item : items) {
        parents.resize(std::min<std::size_t>(parents.size(), static_cast<std::size_t>(item.depth)));
        auto* node = parents.empty() ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.back());
        node->setText(0, QString::fromStdString(item.name));
        node->setData(0, Qt::UserRole, QString::fromStdString(item.local));
        parents.push_back(node);
    }
    contents_->expandAll();

    defaultTopic_ = QString::fromStdString(info.defaultTopic);
    if (defaultTopic_.isEmpty() && !items.empty())
        defaultTopic_ = QString::fromStdString(items.front().local);
}

void HelpWindow::openTopic(const QString& topic)
{
    QUrl url = topicUrl(topic);
    if (topic.isEmpty() || !archive_->contains(url.path(QUrl::FullyDecoded).toStdString())) {
        showError(tr("Topic not found"), tr("The page \"%1\" is not in the help file %2.").arg(topic, helpFile_));
        return;
    }
    // A page that a damaged file decompresses into garbage gets the error page, not the garbage.
    if (auto bytes = archive_->read(url.path(QUrl::FullyDecoded).toStdString()); bytes && !isIntactPage(*bytes)) {
        showError(damagedPageHeading(),
                  tr("The page \"%1\" in the help file %2 is damaged and cannot be shown.").arg(topic, helpFile_));
        return;
    }
    showsError_ = false;
    browser_->setSource(url);
    showPageTitle(browser_->documentTitle());
}

void HelpWindow::followLink(const QUrl& link)
{
    QUrl target = browser_->source().resolved(link);
    QString text = link.toString();
    if (int split = text.indexOf("::/"); split >= 0 && link.scheme() != kScheme) {
        // "ms-its:ztp.chm::/HTML/x.htm" and the like name a page of this file.
        openTopic(text.mid(split + 3));
        return;
    }
    if (target.scheme() == kScheme) {
        if (target.path() == browser_->source().path() && target.hasFragment()) {
            browser_->scrollToAnchor(target.fragment());
            return;
        }
        openTopic(target.path(QUrl::FullyDecoded) + (target.hasFragment() ? '#' + target.fragment() : QString()));
        return;
    }
    QDesktopServices::openUrl(link);
}

void HelpWindow::showError(const QString& heading, const QString& detail)
{
    showsError_ = true;
    browser_->setHtml(htmlPage(heading, detail));
    showPageTitle(heading);
}

void HelpWindow::showPageTitle(const QString& pageTitle)
{
    setWindowTitle(pageTitle.isEmpty() ? projectTitle_ : projectTitle_ + " - " + pageTitle);
}

void HelpWindow::contentsItemActivated(QTreeWidgetItem* item)
{
    if (item == nullptr)
        return;
    QString local = item->data(0, Qt::UserRole).toString();
    if (!local.isEmpty())
        openTopic(local);
}
