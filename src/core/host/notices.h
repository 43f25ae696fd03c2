#pragma once
// Things a run wants the user to know that are not errors (kept jump targets, lossy code-page
// conversions, renamed backup copies). The CLI prints them on stderr.

#include <string_view>

namespace vex::host {

class Notices {
public:
    virtual ~Notices() = default;
    virtual void Notice(std::string_view text) = 0;
};

class NullNotices : public Notices {
public:
    void Notice(std::string_view) override {}
};

}  // namespace vex::host
