#include "setup/about_contacts.h"

namespace setup {
namespace {

constexpr const char* kShareText = "Vantrel: watch and tune your NVIDIA graphics card";

AboutContacts build() {
    AboutContacts c;
    c.website = VANTREL_WEBSITE_URL;
    c.forum = VANTREL_FORUM_URL;
    const std::string url = queryEncoded(c.website);
    const std::string title = queryEncoded(kShareText);
    c.sinaShare = "https://service.weibo.com/share/share.php?url=" + url + "&title=" + title;
    // Tencent's own micro-blog is gone; its share page lives on in Qzone.
    c.tencentShare = "https://sns.qzone.qq.com/cgi-bin/qzshare/cgi_qzshare_onekey?url=" + url +
                     "&title=Vantrel&summary=" + title;
    c.emailLine = "E-mail: support@vantrel.org";
    c.phoneLine = "Tel: see the web site";
    return c;
}

}  // namespace

const AboutContacts& aboutContacts() {
    static const AboutContacts contacts = build();
    return contacts;
}

std::string queryEncoded(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

}  // namespace setup
