#include "common/AtomicFile.h"
#include "common/ZentrapError.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

TEST(AtomicFile, WritesAndReplacesWholeFiles)
{
    TempFolder dir;
    fs::path target = dir.path / "out.bin";
    writeFileAtomically(target, [](ByteSink& s) { s.write("first", 5); });
    EXPECT_EQ(readWholeFile(target), "first");
    std::string big(200000, 'x');
    writeFileAtomically(target, [&](ByteSink& s) {
        s.write("a", 1);
        s.write(big.data(), big.size());
    });
    EXPECT_EQ(readWholeFile(target), "a" + big);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1) << "no temporary left";
}

TEST(AtomicFile, AFailingProducerLeavesTheTargetAsItWas)
{
    TempFolder dir;
    fs::path target = dir.path / "keep.bin";
    writeFileAtomically(target, [](ByteSink& s) { s.write("precious", 8); });
    EXPECT_THROW(writeFileAtomically(target,
                                     [](ByteSink& s) {
                                         s.write("half", 4);
                                         throw ZentrapError("Color table overflow");
                                     }),
                 ZentrapError);
    EXPECT_EQ(readWholeFile(target), "precious");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(AtomicFile, AMissingFolderReportsTheSystemError)
{
    try {
        writeFileAtomically("/nonexistent-folder-zt/x.png", [](ByteSink&) {});
        FAIL() << "expected an error";
    } catch (const ZentrapError& e) {
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos) << e.what();
    }
}
