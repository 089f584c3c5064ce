// The built help file, read with chmlib directly: every topic that the windows open is in it, every
// page links back to the contents, and no link or picture points at a missing object.
#include <chm_lib.h>

#include <QRegularExpression>
#include <QString>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kHelpFile = std::string(ZENTRAP_BIN_DIR) + "/ztp.chm";
const char* const kContentsPage = "/HTML/Contents.htm";

struct ChmCloser {
    void operator()(chmFile* file) const { chm_close(file); }
};
using ChmHandle = std::unique_ptr<chmFile, ChmCloser>;

int collectPath(chmFile*, chmUnitInfo* unit, void* context)
{
    static_cast<std::set<std::string>*>(context)->insert(unit->path);
    return CHM_ENUMERATOR_CONTINUE;
}

std::set<std::string> objectsOf(chmFile* file)
{
    std::set<std::string> paths;
    chm_enumerate(file, CHM_ENUMERATE_ALL, collectPath, &paths);
    return paths;
}

std::string readObject(chmFile* file, const std::string& path)
{
    chmUnitInfo unit{};
    if (chm_resolve_object(file, path.c_str(), &unit) != CHM_RESOLVE_SUCCESS)
        return {};
    std::string bytes(static_cast<std::size_t>(unit.length), '\0');
    LONGINT64 got = chm_retrieve_object(file, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                        static_cast<LONGINT64>(unit.length));
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

// The targets of every href and src in a page, resolved against the page's own path.
std::vector<std::string> linkTargets(const std::string& pagePath, const std::string& html)
{
    static const QRegularExpression link(R"re((?:href|src)\s*=\s*"([^"]*)")re",
                                         QRegularExpression::CaseInsensitiveOption);
    QUrl base;
    base.setScheme("chm");
    base.setPath(QString::fromStdString(pagePath));
    std::vector<std::string> targets;
    for (auto it = link.globalMatch(QString::fromStdString(html)); it.hasNext();) {
        QUrl target = base.resolved(QUrl(it.next().captured(1)));
        targets.push_back(target.path(QUrl::FullyDecoded).toStdString());
    }
    return targets;
}

class HelpFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        file.reset(chm_open(kHelpFile.c_str()));
        ASSERT_TRUE(file) << "cannot open " << kHelpFile;
    }
    ChmHandle file;
};

TEST_F(HelpFile, HoldsEveryTopicTheWindowsOpen)
{
    std::set<std::string> objects = objectsOf(file.get());
    for (const char* topic :
         {"/HTML/Editing.htm", "/HTML/Saving.htm", "/HTML/Printing.htm", "/HTML/Hotkeys.htm",
          "/HTML/Setting the preferences.htm", "/HTML/Exit confirmation.htm", "/HTML/Contents.htm",
          "/HTML/Capturing.htm", "/HTML/Capture Frame.htm", "/HTML/Remote Control.htm", "/HTML/View window.htm"})
        EXPECT_TRUE(objects.count(topic)) << topic;
    EXPECT_TRUE(objects.count("/ztp.hhc"));
    EXPECT_TRUE(objects.count("/ztp.hhk"));
}

TEST_F(HelpFile, EveryPageLinksBackToTheContentsAndNoLinkIsBroken)
{
    std::set<std::string> objects = objectsOf(file.get());
    int pages = 0;
    for (const auto& path : objects) {
        if (path.size() < 4 || path.substr(path.size() - 4) != ".htm")
            continue;
        ++pages;
        std::string html = readObject(file.get(), path);
        ASSERT_FALSE(html.empty()) << path;
        auto targets = linkTargets(path, html);
        EXPECT_NE(std::find(targets.begin(), targets.end(), kContentsPage), targets.end())
            << path << " has no link to the contents";
        for (const auto& target : targets)
            EXPECT_TRUE(objects.count(target)) << path << " links to missing " << target;
    }
    EXPECT_EQ(pages, 11);
}

TEST_F(HelpFile, ContentsAndIndexNameOnlyPagesOfTheFile)
{
    std::set<std::string> objects = objectsOf(file.get());
    for (const char* navigation : {"/ztp.hhc", "/ztp.hhk"}) {
        std::string sitemap = readObject(file.get(), navigation);
        static const QRegularExpression local(R"re(name="Local"\s+value="([^"]*)")re");
        int entries = 0;
        for (auto it = local.globalMatch(QString::fromStdString(sitemap)); it.hasNext(); ++entries)
            EXPECT_TRUE(objects.count("/" + it.next().captured(1).toStdString())) << navigation;
        EXPECT_GE(entries, 11) << navigation;
    }
    // The table of contents lists every page.
    std::string contents = readObject(file.get(), "/ztp.hhc");
    for (const auto& path : objects) {
        if (path.size() > 4 && path.substr(path.size() - 4) == ".htm") {
            EXPECT_NE(contents.find("\"" + path.substr(1) + "\""), std::string::npos) << path;
        }
    }
}

} // namespace
