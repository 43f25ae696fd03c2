#pragma once
// objTxtResult: the result log text that actions append to (UTF-8).

#include <string>
#include <string_view>

namespace vex::host {

class ResultLog {
public:
    virtual ~ResultLog() = default;
    virtual void Append(std::string_view piece) = 0;
    virtual std::string Text() const = 0;
};

class StringResultLog : public ResultLog {
public:
    void Append(std::string_view piece) override { text_ += piece; }
    std::string Text() const override { return text_; }
    void Clear() { text_.clear(); }

private:
    std::string text_;
};

}  // namespace vex::host
