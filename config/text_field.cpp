#include "config/text_field.h"

#include <cstring>

void StoreFieldText(char* field, std::size_t width, const char* text) {
    if (width == 0) {
        return;
    }
    std::size_t length = 0;
    while (length < width - 1 && text[length] != '\0') {
        ++length;
    }
    std::memcpy(field, text, length);
    field[length] = '\0';
}

void ReadFieldText(const char* field, std::size_t width, char* out) {
    std::size_t length = 0;
    while (length < width && field[length] != '\0') {
        out[length] = field[length];
        ++length;
    }
    out[length] = '\0';
}
