// The editor's " Image size  " group without its widgets: the width and height texts, their unit,
// the Keep ratio coupling, the unit change, and the checks of Apply.
#pragma once

#include "common/Geometry.h"

#include <string>

enum class SizeUnit { Pixels = 0, Percent = 1 };
enum class SizeField { Width, Height };

// What Apply may do with the fields as they stand.
struct ApplyCheck {
    enum class Verdict {
        Accept,     // newSize is the size to resize to
        Refuse,     // show `message`, then move the focus to `focus`
        Unreadable, // a field does not read as a number: Apply ends without a word
    };
    Verdict verdict = Verdict::Unreadable;
    Size newSize;
    std::string message;
    SizeField focus = SizeField::Width;
};

inline constexpr const char* kWidthNotPositive = "Width must be more than zero. Please, correct.";
inline constexpr const char* kHeightNotPositive = "Height must be more than zero. Please, correct.";
inline constexpr const char* kSizeTooBig = "New image size is too big. Please, correct.";
// A new size of this many pixels or more is refused.
inline constexpr long long kMaxResizePixels = 768000;

class ImageSizeFields {
public:
    // `decimalSeparator` is the user's, used in percentages written and read.
    explicit ImageSizeFields(char decimalSeparator = '.') : separator_(decimalSeparator) {}

    const std::string& text(SizeField field) const { return field == SizeField::Width ? width_ : height_; }
    SizeUnit unit() const { return unit_; }
    SizeUnit lastUnit() const { return lastUnit_; }
    bool keepRatio() const { return keepRatio_; }
    bool smooth() const { return smooth_; }
    void setSmooth(bool ticked) { smooth_ = ticked; }

    // A field's text changed (typed, or written by the program): with Keep ratio the other follows.
    // `image` is the working image's current size.
    void setText(SizeField field, const std::string& text, Size image);
    // Ticking resets both fields to the current size; unticking changes nothing else.
    void setKeepRatio(bool ticked, Size image);
    // The unit list's choice; the texts are converted when it differs from the unit they were last
    // written in. A text that does not read leaves the rest of the conversion undone.
    void setUnit(SizeUnit unit, Size image);
    // The image's size in pixels, or "100" and "100" in percent, written without coupling.
    void showCurrentSize(Size image);
    // After a right-angle turn to `turned`: the old height text goes into the width field, then the
    // old width text into the height field, each with the coupling.
    void exchangeForQuarterTurn(Size turned);
    // After a resize in percent both fields say "100" again (written with the coupling).
    void showFullPercent(Size image);

    // Whether Apply may resize an `image`-sized working image to what the fields say, and to what size.
    ApplyCheck checkApply(Size image) const;

    // Texts as the fields hold them: integers in decimal, percentages as the shortest text of at most
    // 15 significant digits with the user's separator.
    std::string percentText(long double value) const;

private:
    std::string& textRef(SizeField field) { return field == SizeField::Width ? width_ : height_; }
    void couple(SizeField changed, Size image);
    bool convertToPercent(Size image);
    bool convertToPixels(Size image);
    // The field's value in the current unit: an integer in pixels, a decimal number in percent.
    bool readValue(SizeField field, long double& value) const;
    bool readDecimal(const std::string& text, long double& value) const;

    char separator_;
    std::string width_ = "0";
    std::string height_ = "0";
    SizeUnit unit_ = SizeUnit::Pixels;
    SizeUnit lastUnit_ = SizeUnit::Pixels;
    bool keepRatio_ = true;
    bool smooth_ = true;
    bool updating_ = false;
};
