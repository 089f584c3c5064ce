#include "editor/ImageSizeFields.h"

#include "common/Rounding.h"
#include "common/SettingsFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

// Sets a flag for the lifetime of a scope, also when it is left early.
class UpdatingScope {
public:
    explicit UpdatingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~UpdatingScope() { flag_ = false; }
    UpdatingScope(const UpdatingScope&) = delete;
    UpdatingScope& operator=(const UpdatingScope&) = delete;

private:
    bool& flag_;
};

std::optional<long double> readInteger(const std::string& text)
{
    std::optional<int32_t> value = parseProfileInteger(text);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<long double>(*value);
}

std::string integerText(long double value)
{
    // Far beyond any size the editor accepts; keeps the conversion to an integer defined.
    constexpr long double kLimit = 9.0e18L;
    return std::to_string(roundHalfEven(std::clamp(value, -kLimit, kLimit)));
}

// A pixel size from a percentage of `length`, halves to even; very large values saturate.
long long sizeFromPercent(long double percent, int length)
{
    constexpr long double kLimit = 1.0e9L;
    return roundHalfEven(std::clamp(percent * length / 100.0L, -kLimit, kLimit));
}

} // namespace

void ImageSizeFields::setText(SizeField field, const std::string& text, Size image)
{
    textRef(field) = text;
    couple(field, image);
}

void ImageSizeFields::couple(SizeField changed, Size image)
{
    std::optional<long double> value = readInteger(text(changed));
    if (!value || *value == 0 || !keepRatio_ || updating_) {
        return;
    }
    UpdatingScope updating(updating_);
    SizeField other = changed == SizeField::Width ? SizeField::Height : SizeField::Width;
    if (unit_ == SizeUnit::Percent) {
        textRef(other) = text(changed);
        return;
    }
    if (image.width <= 0 || image.height <= 0) {
        return;
    }
    const long double w = image.width;
    const long double h = image.height;
    textRef(other) = integerText(changed == SizeField::Width ? h / w * *value : w / h * *value);
}

void ImageSizeFields::setKeepRatio(bool ticked, Size image)
{
    keepRatio_ = ticked;
    if (ticked) {
        showCurrentSize(image);
    }
}

void ImageSizeFields::setUnit(SizeUnit unit, Size image)
{
    unit_ = unit;
    if (unit == lastUnit_ || image.width <= 0 || image.height <= 0) {
        return;
    }
    UpdatingScope updating(updating_);
    bool converted = unit == SizeUnit::Percent ? convertToPercent(image) : convertToPixels(image);
    if (converted) {
        lastUnit_ = unit;
    }
}

bool ImageSizeFields::convertToPercent(Size image)
{
    std::optional<long double> width = readInteger(width_);
    if (!width) {
        return false;
    }
    width_ = percentText(*width / image.width * 100.0L);
    std::optional<long double> height = readInteger(height_);
    if (!height) {
        return false;
    }
    height_ = percentText(*height / image.height * 100.0L);
    return true;
}

bool ImageSizeFields::convertToPixels(Size image)
{
    long double width = 0;
    if (!readDecimal(width_, width)) {
        return false;
    }
    width_ = integerText(width * image.width / 100.0L);
    long double height = 0;
    if (!readDecimal(height_, height)) {
        return false;
    }
    height_ = integerText(height * image.height / 100.0L);
    return true;
}

void ImageSizeFields::showCurrentSize(Size image)
{
    UpdatingScope updating(updating_);
    if (unit_ == SizeUnit::Percent) {
        height_ = "100";
        width_ = "100";
    } else {
        height_ = std::to_string(image.height);
        width_ = std::to_string(image.width);
    }
}

void ImageSizeFields::exchangeForQuarterTurn(Size turned)
{
    const std::string oldWidth = width_;
    const std::string oldHeight = height_;
    setText(SizeField::Width, oldHeight, turned);
    setText(SizeField::Height, oldWidth, turned);
}

void ImageSizeFields::showFullPercent(Size image)
{
    setText(SizeField::Width, "100", image);
    setText(SizeField::Height, "100", image);
}

bool ImageSizeFields::readValue(SizeField field, long double& value) const
{
    if (unit_ == SizeUnit::Percent) {
        return readDecimal(text(field), value);
    }
    std::optional<long double> integer = readInteger(text(field));
    if (integer) {
        value = *integer;
    }
    return integer.has_value();
}

ApplyCheck ImageSizeFields::checkApply(Size image) const
{
    ApplyCheck check;
    long double width = 0;
    long double height = 0;
    if (!readValue(SizeField::Width, width)) {
        return check;
    }
    if (width <= 0) {
        return {ApplyCheck::Verdict::Refuse, {}, kWidthNotPositive, SizeField::Width};
    }
    if (!readValue(SizeField::Height, height)) {
        return check;
    }
    if (height <= 0) {
        return {ApplyCheck::Verdict::Refuse, {}, kHeightNotPositive, SizeField::Height};
    }
    long long newWidth = static_cast<long long>(width);
    long long newHeight = static_cast<long long>(height);
    if (unit_ == SizeUnit::Percent) {
        newWidth = sizeFromPercent(width, image.width);
        newHeight = sizeFromPercent(height, image.height);
        // A percentage too small for one pixel is no positive size either.
        if (newWidth < 1) {
            return {ApplyCheck::Verdict::Refuse, {}, kWidthNotPositive, SizeField::Width};
        }
        if (newHeight < 1) {
            return {ApplyCheck::Verdict::Refuse, {}, kHeightNotPositive, SizeField::Height};
        }
    }
    // Both sides are at most 10^9 here, so the product does not overflow.
    if (newWidth * newHeight >= kMaxResizePixels) {
        return {ApplyCheck::Verdict::Refuse, {}, kSizeTooBig, width > height ? SizeField::Width : SizeField::Height};
    }
    check.verdict = ApplyCheck::Verdict::Accept;
    check.newSize = {static_cast<int>(newWidth), static_cast<int>(newHeight)};
    return check;
}

std::string ImageSizeFields::percentText(long double value) const
{
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, error == std::errc() ? end : buffer);
    for (char& c : text) {
        if (c == '.') {
            c = separator_;
        }
    }
    return text;
}

bool ImageSizeFields::readDecimal(const std::string& text, long double& value) const
{
    size_t begin = text.find_first_not_of(' ');
    size_t last = text.find_last_not_of(' ');
    if (begin == std::string::npos) {
        return false;
    }
    std::string number = text.substr(begin, last - begin + 1);
    bool negative = false;
    if (number.front() == '+' || number.front() == '-') {
        negative = number.front() == '-';
        number.erase(0, 1);
    }
    for (char& c : number) {
        bool digitOrExponent = (c >= '0' && c <= '9') || c == 'e' || c == 'E' || c == '+' || c == '-';
        if (c == separator_) {
            c = '.';
        } else if (!digitOrExponent) {
            return false;
        }
    }
    long double parsed = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(parsed)) {
        return false;
    }
    value = negative ? -parsed : parsed;
    return true;
}
