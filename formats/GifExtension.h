// The extension blocks a GIF sub-image carries; here only the graphic control extension.
#pragma once

#include "common/ByteSink.h"

#include <cstdint>

class TGIFExtension {
public:
    virtual ~TGIFExtension() = default;
    virtual uint8_t Label() const = 0;
    virtual void WriteBody(ByteSink& sink) const = 0;
    // Every extension needs the 89a format.
    const char* Version() const { return "89a"; }
    // 0x21, the label, the body.
    void Write(ByteSink& sink) const;
};

class TGIFGraphicControlExtension final : public TGIFExtension {
public:
    static constexpr uint8_t kLabel = 0xF9;

    uint8_t Label() const override { return kLabel; }
    void WriteBody(ByteSink& sink) const override;

    bool Transparent() const { return (FPacked & 0x01) != 0; }
    void SetTransparent(bool on) { FPacked = static_cast<uint8_t>(on ? (FPacked | 0x01) : (FPacked & ~0x01)); }
    uint8_t TransparentColorIndex() const { return FTransparentColorIndex; }
    void SetTransparentColorIndex(uint8_t index) { FTransparentColorIndex = index; }

private:
    uint8_t FPacked = 0;
    uint16_t FDelay = 0;
    uint8_t FTransparentColorIndex = 0;
};
