// The scanning engines of colour reduction: serpentine order, "Nearest color" and the error-diffusion kernels.
#pragma once

#include "formats/ColorLookup.h"
#include "formats/DitherErrorRows.h"

#include <array>
#include <memory>
#include <span>

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

// The other error-diffusion kernels: the pixel corrected by the errors that reached it, mapped,
// and what is left spread over the kernel's taps, divided by the sum of their weights.
class KernelDitherer final : public DitherEngine {
public:
    // `taps` must outlive the engine (the kernels are constant tables).
    KernelDitherer(int rowWidth, ColorLookup& lookup, std::span<const KernelTap> taps);
    ColorMatch DitherPixel(uint8_t red, uint8_t green, uint8_t blue) override;
    void NextRow() override;

private:
    std::span<const KernelTap> taps_;
    int divisor_;
    DitherErrorRows errors_;
};

// The kernel of a DitherMode code from 2 (Stucki) to 6 (Burkes); empty for any other code.
std::span<const KernelTap> DiffusionKernel(int ditherMode);

// The engine of a DitherMode code (0 to 6).
std::unique_ptr<DitherEngine> CreateDitherEngine(int ditherMode, int rowWidth, ColorLookup& lookup);
