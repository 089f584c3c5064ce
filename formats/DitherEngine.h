// The scanning engines of colour reduction: serpentine order, "Nearest color" and the error-diffusion kernels.
#pragma once

#include "formats/ColorLookup.h"
#include "formats/DitherErrorRows.h"

#include <array>
#include <memory>

class DitherEngine {
public:
    DitherEngine(int rowWidth, ColorLookup& lookup);
    virtual ~DitherEngine() = default;
    DitherEngine(const DitherEngine&) = delete;
    DitherEngine& operator=(const DitherEngine&) = delete;

    // Maps one pixel (with the errors that reached it) and moves to the next column.
    virtual ColorMatch DitherPixel(uint8_t red, uint8_t green, uint8_t blue);
    // Reverses the scan direction for the next row.
    virtual void NextRow();

    int ScanStep() const { return scanStep_; }
    int ScanColumn() const { return scanColumn_; }

protected:
    void AdvanceColumn() { scanColumn_ += scanStep_; }
    // MapColor of the mapping object, without the virtual call for the cached lookup.
    ColorMatch Map(uint8_t red, uint8_t green, uint8_t blue)
    {
        return fastLookup_ != nullptr ? fastLookup_->Lookup(red, green, blue) : lookup_.MapColor(red, green, blue);
    }

    int scanStep_ = 1;
    int scanColumn_ = 0;
    ColorLookup& lookup_;
    FastColorLookup* fastLookup_ = nullptr;
    int rowWidth_;
};

// Keeps the same-row term and the row below in running values: one row array per channel.
class FloydSteinbergDitherer final : public DitherEngine {
public:
    FloydSteinbergDitherer(int rowWidth, ColorLookup& lookup);
    ColorMatch DitherPixel(uint8_t red, uint8_t green, uint8_t blue) override;
    void NextRow() override;

private:
    void ResetRunningValues();

    std::array<std::vector<int32_t>, 3> rowErrors_; // RowWidth + 2 per channel
    std::array<int32_t, 3> nextError_{};            // 7 x error for the next pixel
    std::array<int32_t, 3> belowError_{};           // sum so far below the current pixel
    std::array<int32_t, 3> belowPrevError_{};       // sum so far below the previous pixel
};

// The kernels that reach two pixels to each side and two rows down.
class FiveByThreeDitherer : public DitherEngine {
public:
    FiveByThreeDitherer(int rowWidth, ColorLookup& lookup, int divisor);
    ColorMatch DitherPixel(uint8_t red, uint8_t green, uint8_t blue) override;
    void NextRow() override;

protected:
    virtual void SpreadError(const ChannelErrors& error) = 0;

    DitherErrorRows errors_;
    int divisor_;
};

class StuckiDitherer final : public FiveByThreeDitherer {
public:
    StuckiDitherer(int rowWidth, ColorLookup& lookup) : FiveByThreeDitherer(rowWidth, lookup, 42) {}

protected:
    void SpreadError(const ChannelErrors& error) override;
};

class SierraDitherer final : public FiveByThreeDitherer {
public:
    SierraDitherer(int rowWidth, ColorLookup& lookup) : FiveByThreeDitherer(rowWidth, lookup, 32) {}

protected:
    void SpreadError(const ChannelErrors& error) override;
};

class JaJuNiDitherer final : public FiveByThreeDitherer {
public:
    JaJuNiDitherer(int rowWidth, ColorLookup& lookup) : FiveByThreeDitherer(rowWidth, lookup, 48) {}

protected:
    void SpreadError(const ChannelErrors& error) override;
};

class SteveArcheDitherer final : public DitherEngine {
public:
    SteveArcheDitherer(int rowWidth, ColorLookup& lookup);
    ColorMatch DitherPixel(uint8_t red, uint8_t green, uint8_t blue) override;
    void NextRow() override;

private:
    DitherErrorRows errors_;
};

class BurkesDitherer final : public DitherEngine {
public:
    BurkesDitherer(int rowWidth, ColorLookup& lookup);
    ColorMatch DitherPixel(uint8_t red, uint8_t green, uint8_t blue) override;
    void NextRow() override;

private:
    DitherErrorRows errors_;
};

// The engine of a DitherMode code (0 to 6).
std::unique_ptr<DitherEngine> CreateDitherEngine(int ditherMode, int rowWidth, ColorLookup& lookup);
