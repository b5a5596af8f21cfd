#include "platform/translation.h"

#include <utility>

namespace platform {
namespace {
TranslationHook& hook() {
    static TranslationHook h;
    return h;
}
}  // namespace

std::string translate(const char* context, const char* source) {
    if (!source) return {};
    if (!hook() || !context) return source;
    return hook()(context, source);
}

TranslationHook setTranslationHook(TranslationHook h) {
    return std::exchange(hook(), std::move(h));
}

std::string messagesLocale(const std::function<const char*(const char*)>& getenv) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(name);
        if (value && *value) return value;
    }
    return "C";
}

std::vector<std::string> translationNames(const std::string& locale) {
    // language[_territory][.codeset][@modifier]
    const std::string name = locale.substr(0, locale.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return {};
    const auto valid = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    for (char c : name)
        if (!valid(c)) return {"vantrel_en"};  // nothing a file name could be made of
    std::vector<std::string> names{"vantrel_" + name};
    if (const size_t cut = name.find('_'); cut != std::string::npos)
        names.push_back("vantrel_" + name.substr(0, cut));
    if (names.back() != "vantrel_en") names.push_back("vantrel_en");
    return names;
}

}  // namespace platform
