// Fixed-width text fields of the record: what is written into them and what is read out.
#pragma once

#include <cstddef>

// Stores at most width - 1 bytes of text and a zero byte; the bytes behind that zero keep
// whatever they held, because the file carries them on.
void StoreFieldText(char* field, std::size_t width, const char* text);

// Copies the field's text into out (width + 1 bytes), stopping at the field's width when a file
// made elsewhere left no zero byte in it.
void ReadFieldText(const char* field, std::size_t width, char* out);

template <std::size_t N> void StoreFieldText(char (&field)[N], const char* text) {
    StoreFieldText(field, N, text);
}

// A field's text, always terminated, for callers that hand it to printf or a window.
template <std::size_t N> struct FieldText {
    explicit FieldText(const char (&field)[N]) { ReadFieldText(field, N, szText); }
    char szText[N + 1];
};
