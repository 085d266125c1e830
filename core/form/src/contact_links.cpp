#include "form/contact_links.h"

#include "form/link_opener.h"

namespace ratalia {

std::string ContactLinks::emailAddress() { return RATALIA_CONTACT_EMAIL; }
std::string ContactLinks::webCaption() { return std::string("http://") + RATALIA_WEB_SITE; }
std::string ContactLinks::mailTarget() { return "mailto:" + emailAddress(); }
std::string ContactLinks::webTarget() { return webCaption() + "/"; }

void openEmail(LinkOpener& opener) { opener.open(ContactLinks::mailTarget()); }
void openWebSite(LinkOpener& opener) { opener.open(ContactLinks::webTarget()); }

} // namespace ratalia
