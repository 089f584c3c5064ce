// The extension blocks a GIF sub-image carries; here only the graphic control extension.
#pragma once

#include "common/ByteSink.h"

#include <cstdint>

class GifExtension {
public:
    virtual ~GifExtension() = default;
    virtual uint8_t Label() const = 0;
    virtual void WriteBody(ByteSink& sink) const = 0;
    // Every extension needs the 89a format.
    const char* Version() const { return "89a"; }
    // 0x21, the label, the body.
    void Write(ByteSink& sink) const;
};

class GifGraphicControlExtension final : public GifExtension {
public:
    static constexpr uint8_t kLabel = 0xF9;

    uint8_t Label() const override { return kLabel; }
    void WriteBody(ByteSink& sink) const override;

    bool Transparent() const { return (packed_ & 0x01) != 0; }
    void SetTransparent(bool on) { packed_ = static_cast<uint8_t>(on ? (packed_ | 0x01) : (packed_ & ~0x01)); }
    uint8_t TransparentColorIndex() const { return transparentColorIndex_; }
    void SetTransparentColorIndex(uint8_t index) { transparentColorIndex_ = index; }

private:
    uint8_t packed_ = 0;
    uint16_t delay_ = 0;
    uint8_t transparentColorIndex_ = 0;
};
