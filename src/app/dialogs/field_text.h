#pragma once
// Texts of transfer-record fields: writing pre-filled texts and reading numbers back.
//
// A text field holds up to N-1 bytes and a terminating zero, but commands pre-fill texts that
// can be longer ("%f" of 80000 is "80000.000000"), and the dialog must show such a text whole.
// setFieldText therefore stores the first N-1 bytes in the field and keeps the whole text aside,
// keyed by the field's address. The next dialog session over that field shows the kept text as
// long as the field still holds its first N-1 bytes; a field rewritten in the meantime (by a
// later setFieldText, by the dialog's OK, or directly) shows what it holds. Nothing ever writes
// past the field. Texts are UTF-8; a field is cut on a character boundary.
//
// Conversions back to numbers follow atoi/atof: leading blanks skipped, the longest valid
// decimal prefix counts, no prefix gives 0. They ignore the process locale ('.' is the decimal
// point) and never read past the field.

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace dialogs {

/// printf-style formatting in the C locale, e.g. formatText("%f", G); never truncated.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Stores `text` in the `size`-byte field at `field`: at most size-1 bytes, cut on a UTF-8
/// character boundary, zero-padded; a longer text is kept aside for the next dialog.
void storeFieldText(char* field, std::size_t size, std::string_view text);

/// The whole text kept for the `size`-byte field at `field` if it still holds that text's
/// stored part, otherwise nothing.
std::optional<std::string> keptFieldText(const char* field, std::size_t size);

/// Forgets the text kept aside for the field at `field`.
void forgetFieldText(const char* field);

/// `text` cut to at most `maxBytes` bytes without splitting a UTF-8 character.
std::string_view cutText(std::string_view text, std::size_t maxBytes);

/// Integer value of a text as by atoi; out-of-range values saturate at the int limits.
int textToInt(std::string_view text);

/// Real value of a text as by atof, decimal forms only (no hex, "inf" or "nan"); an exponent
/// too large gives +-HUGE_VAL, too small gives 0.
double textToReal(std::string_view text);

/// Text of a field up to its terminating zero, or all N bytes if it has none.
template <std::size_t N>
std::string_view fieldText(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

/// Writes a pre-filled text into a record field (see the notes at the top).
template <std::size_t N>
void setFieldText(char (&field)[N], std::string_view text) {
    storeFieldText(field, N, text);
}

/// atoi of a record field.
template <std::size_t N>
int fieldInt(const char (&field)[N]) {
    return textToInt(fieldText(field));
}

/// atof of a record field.
template <std::size_t N>
double fieldReal(const char (&field)[N]) {
    return textToReal(fieldText(field));
}

}  // namespace dialogs
