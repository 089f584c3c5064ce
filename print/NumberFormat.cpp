#include "print/NumberFormat.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool startsWith(std::string_view text, size_t at, const std::string& part)
{
    return !part.empty() && text.substr(at, part.size()) == part;
}

} // namespace

NumberFormat::NumberFormat(std::string decimalSeparator, std::string thousandsSeparator)
    : decimal_(decimalSeparator.empty() ? "." : std::move(decimalSeparator)), thousands_(std::move(thousandsSeparator))
{
    if (thousands_ == decimal_) {
        thousands_.clear();
    }
}

std::optional<std::string> NumberFormat::normalized(std::string_view text, bool allowFraction) const
{
    text = trimmed(text);
    std::string out;
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        out += text[i++];
    }
    // Integer digits; after a thousands separator exactly three digits must follow.
    int digits = 0;
    int groupDigits = -1; // digits since the last separator, -1 before the first one
    while (i < text.size()) {
        if (isDigit(text[i])) {
            out += text[i++];
            ++digits;
            if (groupDigits >= 0) {
                ++groupDigits;
            }
        } else if (startsWith(text, i, thousands_) && digits > 0 && (groupDigits < 0 || groupDigits == 3)) {
            i += thousands_.size();
            groupDigits = 0;
        } else {
            break;
        }
    }
    if (groupDigits >= 0 && groupDigits != 3) {
        return std::nullopt;
    }
    int fractionDigits = 0;
    if (allowFraction && startsWith(text, i, decimal_)) {
        i += decimal_.size();
        out += '.';
        while (i < text.size() && isDigit(text[i])) {
            out += text[i++];
            ++fractionDigits;
        }
    }
    if (digits + fractionDigits == 0) {
        return std::nullopt;
    }
    if (allowFraction && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        out += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            out += text[i++];
        }
        int exponentDigits = 0;
        while (i < text.size() && isDigit(text[i])) {
            out += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return out;
}

std::optional<double> NumberFormat::parseDecimal(std::string_view text) const
{
    auto plain = normalized(text, true);
    if (!plain) {
        return std::nullopt;
    }
    char* end = nullptr;
    double value = std::strtod(plain->c_str(), &end);
    if (end != plain->c_str() + plain->size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int32_t> NumberFormat::parseInteger(std::string_view text) const
{
    auto plain = normalized(text, false);
    if (!plain) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(plain->c_str(), &end, 10);
    if (end != plain->c_str() + plain->size() || errno == ERANGE || value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

std::string NumberFormat::formatFixed(double value, int decimals) const
{
    if (!std::isfinite(value)) {
        value = 0;
    }
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string_view plain(buffer);
    std::string out;
    if (!plain.empty() && plain.front() == '-') {
        // "-0.00" reads as plain zero.
        bool allZero = plain.find_first_not_of("-0.") == std::string_view::npos;
        if (!allZero) {
            out += '-';
        }
        plain.remove_prefix(1);
    }
    size_t point = plain.find('.');
    std::string_view whole = plain.substr(0, point);
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) {
            out += thousands_;
        }
        out += whole[i];
    }
    if (point != std::string_view::npos) {
        out += decimal_;
        out += plain.substr(point + 1);
    }
    return out;
}
