// The LZW coder and its string table, read back by an independent code reader and by giflib.
#include "GifTestSupport.h"
#include "formats/GifEncoder.h"
#include "formats/LzwHashTable.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<uint8_t> imageData(const std::vector<uint8_t>& pixels, int width, int bits, GifCompression compression)
{
    VectorSink sink;
    int height = static_cast<int>(pixels.size()) / width;
    WriteGifImageData(sink, pixels, width, height, false, bits, 1 << bits, compression);
    return sink.bytes;
}

std::vector<uint8_t> randomIndices(size_t count, int colors, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> out(count);
    for (auto& v : out) {
        v = static_cast<uint8_t>(rng() % static_cast<uint32_t>(colors));
    }
    return out;
}

TEST(LzwEncoderTest, ClearsWhenTheNextCodeWouldReach4095AndStaysWithinTwelveBits)
{
    for (int bits : {1, 2, 4, 8}) {
        std::vector<uint8_t> pixels = randomIndices(40000, 1 << bits, static_cast<uint32_t>(bits));
        giftest::CodeStream stream = giftest::readCodes(imageData(pixels, 200, bits, GifCompression::LZW));
        EXPECT_EQ(stream.minCodeSize, std::max(bits, 2));
        EXPECT_LE(*std::max_element(stream.widths.begin(), stream.widths.end()), 12);
        EXPECT_EQ(stream.maxTableSize, 4095) << bits;
        ASSERT_GE(stream.nextAtClear.size(), 2U) << bits;
        // Every clear after the first comes exactly when the table is full.
        for (size_t i = 1; i < stream.nextAtClear.size(); ++i) {
            EXPECT_EQ(stream.nextAtClear[i], 4095) << bits;
        }
        EXPECT_EQ(stream.codes.back(), (1 << std::max(bits, 2)) + 1);
    }
}

TEST(LzwEncoderTest, CodeWidthGrowsWithTheDecodersTable)
{
    // 0 1 0 1 0 1 ...: codes 0, 1, 6 (01), 8 (010), 7 (10)...; the reader follows the decoder's
    // width rule, so misplaced growth shows up as garbage codes and a missing end code.
    std::vector<uint8_t> pixels(64);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<uint8_t>(i % 2);
    }
    giftest::CodeStream stream = giftest::readCodes(imageData(pixels, 64, 1, GifCompression::LZW));
    ASSERT_GE(stream.codes.size(), 5U);
    EXPECT_EQ(stream.codes[0], 4);
    EXPECT_EQ(stream.codes[1], 0);
    EXPECT_EQ(stream.codes[2], 1);
    EXPECT_EQ(stream.codes[3], 6);
    EXPECT_EQ(stream.codes.back(), 5);
}

TEST(LzwEncoderTest, NoPixelsGiveOnlyTheEndCode)
{
    VectorSink sink;
    WriteGifImageData(sink, {}, 0, 0, false, 1, 2, GifCompression::LZW);
    EXPECT_EQ(sink.bytes, (std::vector<uint8_t>{2, 1, 5, 0}));
}

TEST(LzwEncoderTest, DataIsCutIntoBlocksOf255Bytes)
{
    std::vector<uint8_t> data = imageData(randomIndices(5000, 256, 3), 100, 8, GifCompression::LZW);
    size_t pos = 1;
    int fullBlocks = 0;
    while (data[pos] != 0) {
        if (data[pos] == 255) {
            ++fullBlocks;
        } else {
            EXPECT_EQ(data[pos + data[pos] + 1], 0) << "only the last block may be short";
        }
        pos += data[pos] + 1U;
    }
    EXPECT_GT(fullBlocks, 10);
    EXPECT_EQ(pos, data.size() - 1);
}

TEST(LzwHashTableTest, ProbesReachEverySlot)
{
    // With the probe step fixed by the first probe the sequence visits all 8009 slots, so a
    // nearly full table still finds a free slot and every key stored before.
    LzwHashTable table;
    std::vector<uint32_t> keys;
    for (uint32_t i = 0; keys.size() < LzwHashTable::kSlots - 1; ++i) {
        keys.push_back(i * 2654435761U % 0xFFEFFU);
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    keys.resize(std::min<size_t>(keys.size(), LzwHashTable::kSlots - 1));
    for (size_t i = 0; i < keys.size(); ++i) {
        table.Insert(keys[i], static_cast<int>(i % 4095));
    }
    int slot = 0;
    for (size_t i = 0; i < keys.size(); ++i) {
        ASSERT_EQ(table.Lookup(keys[i], slot), static_cast<int>(i % 4095));
    }
    EXPECT_EQ(table.Lookup(0xFFEFFU, slot), -1);
}

} // namespace
