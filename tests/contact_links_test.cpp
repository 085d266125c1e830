#include "core/contact_links.h"
#include "support/test_form.h"

#include <gtest/gtest.h>

namespace ratalia::test {
namespace {

TEST(ContactLinksTest, labels_open_mail_and_web_targets)
{
    TestForm window(u',');
    window.events.click(Link::Email);
    window.events.click(Link::WebSite);
    const std::vector<std::string> expected{"mailto:" + ContactLinks::emailAddress(), ContactLinks::webCaption() + "/"};
    EXPECT_EQ(window.links.opened, expected);
    EXPECT_EQ(ContactLinks::webCaption().rfind("http://", 0), 0u);
    EXPECT_NE(ContactLinks::webCaption().back(), '/');
    EXPECT_NE(ContactLinks::emailAddress().find('@'), std::string::npos);
}

} // namespace
} // namespace ratalia::test
