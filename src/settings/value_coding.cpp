#include "settings/value_coding.h"

#include "platform/wtol.h"

namespace settings {

bool decodeTextFlag(std::string_view text) {
    return text != "0";
}

bool decodeNumberFlag(std::string_view text) {
    return _wtol(text) != 0;
}

std::string encodeInteger(int32_t value) {
    return std::to_string(value);
}

std::string encodeFlag(bool value) {
    return value ? "1" : "0";
}

}  // namespace settings
