#pragma once

#include "form/link_opener.h"

namespace ratalia {

// Opens targets with the desktop's default mail program or browser.
class DesktopLinkOpener : public LinkOpener {
public:
    void open(const std::string& target) override;
};

} // namespace ratalia
