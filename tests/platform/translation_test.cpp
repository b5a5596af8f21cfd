// Which translation a locale gets, and where the locale comes from.
#include "platform/translation.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Names = std::vector<std::string>;

TEST(Translation, LocaleGivesItsOwnThenItsLanguageThenEnglish) {
    EXPECT_EQ(platform::translationNames("zh_CN.UTF-8"),
              (Names{"vantrel_zh_CN", "vantrel_zh", "vantrel_en"}));
    EXPECT_EQ(platform::translationNames("de_DE@euro"), (Names{"vantrel_de_DE", "vantrel_de", "vantrel_en"}));
    EXPECT_EQ(platform::translationNames("en_US.UTF-8"), (Names{"vantrel_en_US", "vantrel_en"}));
    EXPECT_EQ(platform::translationNames("fr"), (Names{"vantrel_fr", "vantrel_en"}));
    // The source texts.
    EXPECT_TRUE(platform::translationNames("C").empty());
    EXPECT_TRUE(platform::translationNames("C.UTF-8").empty());
    EXPECT_TRUE(platform::translationNames("POSIX").empty());
    EXPECT_TRUE(platform::translationNames("").empty());
    // Never a path out of the translations folder.
    EXPECT_EQ(platform::translationNames("x/../../etc/y"), (Names{"vantrel_en"}));
    EXPECT_TRUE(platform::translationNames("../../etc/x").empty());
}

TEST(Translation, LcAllOverLcMessagesOverLang) {
    std::map<std::string, std::string> env;
    const auto get = [&](const char* name) -> const char* {
        auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
    EXPECT_EQ(platform::messagesLocale(get), "C");
    env["LANG"] = "zh_CN.UTF-8";
    EXPECT_EQ(platform::messagesLocale(get), "zh_CN.UTF-8");
    env["LC_MESSAGES"] = "en_GB.UTF-8";
    EXPECT_EQ(platform::messagesLocale(get), "en_GB.UTF-8");
    env["LC_ALL"] = "";  // set but empty counts as unset
    EXPECT_EQ(platform::messagesLocale(get), "en_GB.UTF-8");
    env["LC_ALL"] = "C";
    EXPECT_EQ(platform::messagesLocale(get), "C");
}

TEST(Translation, TextsStayTheirSourceWithoutAHook) {
    EXPECT_EQ(platform::translate("gpu", "NVAPI信息"), "NVAPI信息");
    const auto previous =
        platform::setTranslationHook([](const char*, const char* s) { return std::string("<") + s + ">"; });
    EXPECT_EQ(platform::translate("gpu", "x"), "<x>");
    platform::setTranslationHook(previous);
    EXPECT_EQ(platform::translate("gpu", "x"), "x");
}

}  // namespace
