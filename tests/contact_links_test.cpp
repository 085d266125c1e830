#include "form/contact_links.h"
#include "support/test_form.h"

#include <gtest/gtest.h>

namespace ratalia::test {
namespace {

// The addresses the build was configured with, as CMake was given them; the
// targets and captions are spelled out here as a person would write them.
const std::string email = CONFIGURED_CONTACT_EMAIL;
const std::string site = CONFIGURED_WEB_SITE;

TEST(ContactLinksTest, labels_open_mail_and_web_targets)
{
    TestForm window(u',');
    window.events.click(Link::Email);
    window.events.click(Link::WebSite);
    EXPECT_EQ(window.links.opened, (std::vector<std::string>{"mailto:" + email, "http://" + site + "/"}));
    EXPECT_EQ(ContactLinks::caption(Link::Email), email);
    EXPECT_EQ(ContactLinks::caption(Link::WebSite), "http://" + site);
}

} // namespace
} // namespace ratalia::test
