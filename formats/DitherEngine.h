// The scanning engines of colour reduction: serpentine order, "Nearest color" and the error-diffusion kernels.
#pragma once

#include "formats/ColorLookup.h"
#include "formats/DitherErrorRows.h"

#include <array>
#include <memory>

class TDitherEngine {
public:
    TDitherEngine(int rowWidth, TColorLookup& lookup);
    virtual ~TDitherEngine() = default;
    TDitherEngine(const TDitherEngine&) = delete;
    TDitherEngine& operator=(const TDitherEngine&) = delete;

    // Maps one pixel (with the errors that reached it) and moves to the next column.
    virtual ColorMatch DitherPixel(uint8_t red, uint8_t green, uint8_t blue);
    // Reverses the scan direction for the next row.
    virtual void NextRow();

    int ScanStep() const { return FScanStep; }
    int ScanColumn() const { return FScanColumn; }

protected:
    void AdvanceColumn() { FScanColumn += FScanStep; }
    // MapColor of the mapping object, without the virtual call for the cached lookup.
    ColorMatch Map(uint8_t red, uint8_t green, uint8_t blue)
    {
        return FFastLookup != nullptr ? FFastLookup->Lookup(red, green, blue) : FLookup.MapColor(red, green, blue);
    }

    int FScanStep = 1;
    int FScanColumn = 0;
    TColorLookup& FLookup;
    TFastColorLookup* FFastLookup = nullptr;
    int FRowWidth;
};

// Keeps the same-row term and the row below in running values: one row array per channel.
class TFloydSteinbergDitherer final : public TDitherEngine {
public:
    TFloydSteinbergDitherer(int rowWidth, TColorLookup& lookup);
    ColorMatch DitherPixel(uint8_t red, uint8_t green, uint8_t blue) override;
    void NextRow() override;

private:
    void ResetRunningValues();

    std::array<std::vector<int32_t>, 3> FRowErrors; // RowWidth + 2 per channel
    std::array<int32_t, 3> FNextError{};            // 7 x error for the next pixel
    std::array<int32_t, 3> FBelowError{};           // sum so far below the current pixel
    std::array<int32_t, 3> FBelowPrevError{};       // sum so far below the previous pixel
};

// The kernels that reach two pixels to each side and two rows down.
class T5by3Ditherer : public TDitherEngine {
public:
    T5by3Ditherer(int rowWidth, TColorLookup& lookup, int divisor);
    ColorMatch DitherPixel(uint8_t red, uint8_t green, uint8_t blue) override;
    void NextRow() override;

protected:
    virtual void SpreadError(const ChannelErrors& error) = 0;

    DitherErrorRows FErrors;
    int FDivisor;
};

class TStuckiDitherer final : public T5by3Ditherer {
public:
    TStuckiDitherer(int rowWidth, TColorLookup& lookup) : T5by3Ditherer(rowWidth, lookup, 42) {}

protected:
    void SpreadError(const ChannelErrors& error) override;
};

class TSierraDitherer final : public T5by3Ditherer {
public:
    TSierraDitherer(int rowWidth, TColorLookup& lookup) : T5by3Ditherer(rowWidth, lookup, 32) {}

protected:
    void SpreadError(const ChannelErrors& error) override;
};

class TJaJuNiDitherer final : public T5by3Ditherer {
public:
    TJaJuNiDitherer(int rowWidth, TColorLookup& lookup) : T5by3Ditherer(rowWidth, lookup, 48) {}

protected:
    void SpreadError(const ChannelErrors& error) override;
};

class TSteveArcheDitherer final : public TDitherEngine {
public:
    TSteveArcheDitherer(int rowWidth, TColorLookup& lookup);
    ColorMatch DitherPixel(uint8_t red, uint8_t green, uint8_t blue) override;
    void NextRow() override;

private:
    DitherErrorRows FErrors;
};

class TBurkesDitherer final : public TDitherEngine {
public:
    TBurkesDitherer(int rowWidth, TColorLookup& lookup);
    ColorMatch DitherPixel(uint8_t red, uint8_t green, uint8_t blue) override;
    void NextRow() override;

private:
    DitherErrorRows FErrors;
};

// The engine of a DitherMode code (0 to 6).
std::unique_ptr<TDitherEngine> CreateDitherEngine(int ditherMode, int rowWidth, TColorLookup& lookup);
