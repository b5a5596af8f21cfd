// The project's contact data and the addresses the About page opens, in one
// place. The web site and the forum come from the build (VANTREL_WEBSITE_URL,
// VANTREL_FORUM_URL); the share links are filled in from the web site.
#pragma once

#include <string>

namespace setup {

struct AboutContacts {
    std::string website;
    std::string forum;
    std::string sinaShare;     // the Sina micro-blog's share page
    std::string tencentShare;  // Tencent's share page
    std::string emailLine;     // the support e-mail line as shown
    std::string phoneLine;     // the support telephone line as shown
};

const AboutContacts& aboutContacts();

// "Text that names the program" -> "Text%20that%20names%20the%20program": an
// address's query value, every byte but the unreserved ones percent-encoded.
std::string queryEncoded(const std::string& text);

}  // namespace setup
