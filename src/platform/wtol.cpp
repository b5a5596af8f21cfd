#include "platform/wtol.h"

int32_t _wtol(std::string_view text) {
    size_t i = 0;
    auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    };
    while (i < text.size() && space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    const int64_t limit = negative ? -int64_t(INT32_MIN) : int64_t(INT32_MAX);
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) value = limit;  // saturate, keep consuming digits
    }
    return int32_t(negative ? -value : value);
}
