#pragma once

#include <string>

namespace ratalia {

// Hands a "mailto:" or "http://" target to the desktop's default program.
// Failures are not reported: the click then simply has no effect.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    virtual void open(const std::string& target) = 0;
};

} // namespace ratalia
