#pragma once

#include <string>

namespace ratalia {

class LinkOpener;

enum class Link { Email, WebSite };

// The maker's contact links, fixed when the program is built.
struct ContactLinks {
    static std::string emailAddress();
    static std::string webCaption(); // "http://" and the site, as the label shows it
    static std::string mailTarget();
    static std::string webTarget();
    // What the link's label shows.
    static std::string caption(Link link) { return link == Link::Email ? emailAddress() : webCaption(); }
};

// Opens the user's mail program on a new message to the contact address.
void openEmail(LinkOpener& opener);
// Opens the web site in the user's browser.
void openWebSite(LinkOpener& opener);

} // namespace ratalia
