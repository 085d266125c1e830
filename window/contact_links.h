#pragma once

#include <string>

namespace ratalia {

class LinkOpener;

// The maker's contact links, fixed when the program is built.
struct ContactLinks {
    static std::string emailAddress();
    static std::string webCaption(); // "http://" and the site, as the label shows it
    static std::string mailTarget();
    static std::string webTarget();
};

// Opens the user's mail program on a new message to the contact address.
void IndirizzoPosta_(LinkOpener& opener);
// Opens the web site in the user's browser.
void IndirizzoSito_(LinkOpener& opener);

} // namespace ratalia
