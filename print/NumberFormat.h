// Numbers as the user reads and types them: the user's decimal and thousands separators, given
// by the window rather than taken from a process-wide locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class NumberFormat {
public:
    // Separators are UTF-8 texts (some locales group with a no-break space); an empty thousands
    // separator means no grouping.
    explicit NumberFormat(std::string decimalSeparator = ".", std::string thousandsSeparator = ",");

    // A decimal number with an optional sign, grouped digits (groups of three after the first),
    // a fraction and an exponent, between optional blanks. Null for anything else, or a value
    // that is not finite.
    std::optional<double> parseDecimal(std::string_view text) const;
    // A whole number written the same way, without fraction or exponent; null outside 32 bits.
    std::optional<int32_t> parseInteger(std::string_view text) const;

    // Exactly `decimals` decimals, thousands grouped.
    std::string formatFixed(double value, int decimals) const;

    const std::string& decimalSeparator() const { return decimal_; }
    const std::string& thousandsSeparator() const { return thousands_; }

private:
    // Rewrites `text` into the C form (digits, '.', 'e') that strtod reads; null when not a number.
    std::optional<std::string> normalized(std::string_view text, bool allowFraction) const;

    std::string decimal_;
    std::string thousands_;
};
