#pragma once
// Texts of transfer-record fields: writing pre-filled texts and reading numbers back.
//
// A text field holds up to N-1 bytes and a terminating zero, but commands pre-fill texts that
// can be longer ("%f" of 80000 is "80000.000000"), and the dialog must show such a text whole.
// setFieldText therefore stores the first N-1 bytes in the field and keeps the whole text aside,
// keyed by the field's address. The dialog's OK stores every edit's text the same way. As long
// as the field still holds the kept text's stored part, the next dialog session shows the kept
// text and fieldInt/fieldReal read it, so a value survives OK unchanged however long its text.
// A field rewritten in the meantime (by a later setFieldText, by the dialog's OK, or directly)
// shows and reads what it holds, and its kept text is dropped as soon as that is seen. A direct
// write leaving exactly the stored part cannot be told apart: write through setFieldText, or
// fill a reused record afresh with clearRecord. Nothing ever writes past the field. Texts are
// UTF-8; a field is cut on a character boundary.
//
// Conversions back to numbers follow atoi/atof: leading blanks skipped, the longest valid
// decimal prefix counts, no prefix gives 0. A real takes ',' as its decimal point as well as '.'
// (one of them, the first met); an integer stops at either. They ignore the process locale and
// never read past the field.

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace dialogs {

/// printf-style formatting in the C locale, e.g. formatText("%f", G); never truncated.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Stores `text` in the `size`-byte field at `field`: at most size-1 bytes, cut on a UTF-8
/// character boundary, zero-padded; a longer text is kept aside for the next dialog.
void storeFieldText(char* field, std::size_t size, std::string_view text);

/// The whole text kept for the `size`-byte field at `field` if it still holds that text's
/// stored part, otherwise nothing (and a kept text whose field was rewritten is forgotten).
std::optional<std::string> keptFieldText(const char* field, std::size_t size);

/// The text a field stands for: its kept text if any, else what it holds up to its zero.
std::string fieldValueText(const char* field, std::size_t size);

/// Forgets the text kept aside for the field at `field`.
void forgetFieldText(const char* field);

/// Forgets the texts kept for all fields starting within the `size` bytes at `begin`.
void forgetFieldTexts(const void* begin, std::size_t size);

/// `text` cut to at most `maxBytes` bytes without splitting a UTF-8 character.
std::string_view cutText(std::string_view text, std::size_t maxBytes);

/// Integer value of a text as by atoi; out-of-range values saturate at the int limits.
int textToInt(std::string_view text);

/// Real value of a text as by atof, decimal forms only (no hex, "inf" or "nan"), with ',' or '.'
/// as the decimal point; an exponent too large gives +-HUGE_VAL, too small gives 0.
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

/// Zeroes a record and forgets the texts kept for its fields, so that nothing kept for a record
/// that used the same memory before comes back; for a record about to be filled afresh.
template <typename Record>
void clearRecord(Record& record) {
    static_assert(std::is_trivially_copyable_v<Record>);
    std::memset(static_cast<void*>(&record), 0, sizeof record);
    forgetFieldTexts(&record, sizeof record);
}

/// atoi of a record field, of its whole kept text if it has one.
template <std::size_t N>
int fieldInt(const char (&field)[N]) {
    return textToInt(fieldValueText(field, N));
}

/// atof of a record field, of its whole kept text if it has one.
template <std::size_t N>
double fieldReal(const char (&field)[N]) {
    return textToReal(fieldValueText(field, N));
}

}  // namespace dialogs
