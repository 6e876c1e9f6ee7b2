#include "app/dialogs/field_text.h"

#include <locale.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <map>

namespace dialogs {
namespace {

struct KeptText {
    std::size_t size;
    std::string text;
};

// Texts longer than their field, by field address (ordered, so that a record's range can be
// dropped at once). Records live for the whole run (members of the main window) or for one
// command, and an entry goes when its field is seen rewritten, so the map stays small.
std::map<const char*, KeptText>& keptTexts() {
    static std::map<const char*, KeptText> kept;
    return kept;
}

// Switches the calling thread to the C locale for the lifetime of the object.
class CLocale {
  public:
    CLocale() : previous_(uselocale(cLocale())) {}
    ~CLocale() { uselocale(previous_); }
    CLocale(const CLocale&) = delete;
    CLocale& operator=(const CLocale&) = delete;

  private:
    static locale_t cLocale() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
        return c;
    }
    locale_t previous_;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string formatText(const char* format, ...) {
    CLocale c;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    }
    va_end(again);
    return text;
}

std::string_view cutText(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    // Back off continuation bytes (10xxxxxx) so that no character is split.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

void storeFieldText(char* field, std::size_t size, std::string_view text) {
    if (size == 0) return;
    const std::string_view stored = cutText(text, size - 1);
    std::memset(field, 0, size);
    std::memcpy(field, stored.data(), stored.size());
    if (stored.size() < text.size())
        keptTexts()[field] = KeptText{size, std::string(text)};
    else
        keptTexts().erase(field);
}

std::optional<std::string> keptFieldText(const char* field, std::size_t size) {
    const auto it = keptTexts().find(field);
    if (it == keptTexts().end()) return std::nullopt;
    const std::string_view held(field, strnlen(field, size));
    if (it->second.size != size || cutText(it->second.text, size - 1) != held) {
        // Rewritten since, or the memory is another field now: the kept text must not come
        // back should the field ever hold its stored part again.
        keptTexts().erase(it);
        return std::nullopt;
    }
    return it->second.text;
}

std::string fieldValueText(const char* field, std::size_t size) {
    if (std::optional<std::string> kept = keptFieldText(field, size)) return std::move(*kept);
    return std::string(field, strnlen(field, size));
}

void forgetFieldText(const char* field) {
    keptTexts().erase(field);
}

void forgetFieldTexts(const void* begin, std::size_t size) {
    const char* first = static_cast<const char*>(begin);
    auto& kept = keptTexts();
    kept.erase(kept.lower_bound(first), kept.lower_bound(first + size));
}

int textToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

double textToReal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t mantissa = i;
    std::size_t intDigits = 0, fracDigits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++intDigits;
    bool point = false;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        std::size_t j = i + 1;
        while (j < text.size() && isDigit(text[j]))
            ++j, ++fracDigits;
        if (intDigits + fracDigits > 0) point = true, i = j;
    }
    if (intDigits + fracDigits == 0) return 0.0;
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExp = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) negativeExp = text[j++] == '-';
        if (j < text.size() && isDigit(text[j])) {
            for (; j < text.size() && isDigit(text[j]); ++j)
                if (exponent < 100000) exponent = exponent * 10 + (text[j] - '0');
            if (negativeExp) exponent = -exponent;
            i = j;
        }
    }
    std::string number(text.substr(mantissa, i - mantissa));
    if (point) number[intDigits] = '.';  // ',' or '.'; from_chars takes the point only
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Decimal exponent of the leading significant digit decides overflow or underflow.
        long lead = exponent;
        std::size_t k = 0;
        while (k < number.size() && (number[k] == '0' || number[k] == '.'))
            ++k;
        lead += k < intDigits ? static_cast<long>(intDigits - k) - 1
                              : -static_cast<long>(k - intDigits);
        value = lead > 0 ? HUGE_VAL : 0.0;
    } else if (error != std::errc{}) {
        value = 0.0;
    }
    (void)end;
    return negative ? -value : value;
}

}  // namespace dialogs
