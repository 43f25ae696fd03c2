#include "cli/progress_line.h"

#include <ostream>
#include <streambuf>

namespace vex::cli {

namespace {
// Wider lines would wrap, and erasing would then leave their first part on the screen.
constexpr size_t kWidth = 79;

std::string Percent(long value, long max) {
    long p = value <= 0 ? 0 : value >= max ? 100 : value * 100 / max;
    std::string s = std::to_string(p);
    return std::string(3 - s.size(), ' ') + s + "%";
}
}  // namespace

class ProgressLine::Passage : public std::streambuf {
public:
    Passage(ProgressLine& line, std::ostream& stream) : line_(line), stream_(stream), target_(stream.rdbuf(this)) {}
    ~Passage() override { stream_.rdbuf(target_); }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const std::lock_guard lock(line_.mutex_);
        line_.EraseLocked();
        line_.atLineStart_ = traits_type::to_char_type(c) == '\n';
        return target_->sputc(traits_type::to_char_type(c));
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (n <= 0) return 0;
        const std::lock_guard lock(line_.mutex_);
        line_.EraseLocked();
        line_.atLineStart_ = s[n - 1] == '\n';
        return target_->sputn(s, n);
    }
    int sync() override { return target_->pubsync(); }

private:
    ProgressLine& line_;
    std::ostream& stream_;
    std::streambuf* target_;
};

ProgressLine::ProgressLine(std::ostream& err, bool enabled, std::ostream* out, std::chrono::milliseconds quietStart,
                           std::chrono::milliseconds redrawEvery)
    : err_(err), out_(out), quietStart_(quietStart), redrawEvery_(redrawEvery) {
    if (!enabled) return;
    original_ = err_.rdbuf();
    errPassage_ = std::make_unique<Passage>(*this, err_);
    if (out_) outPassage_ = std::make_unique<Passage>(*this, *out_);
    drawer_ = std::thread([this] { Loop(); });
}

ProgressLine::~ProgressLine() {
    Finish();
    if (drawer_.joinable()) drawer_.join();
    outPassage_.reset();
    errPassage_.reset();
}

void ProgressLine::Stage(std::string text) {
    project_.SetMax(0);
    project_.SetValue(0);
    file_.SetMax(0);
    file_.SetValue(0);
    const std::lock_guard lock(mutex_);
    stage_ = std::move(text);
}

void ProgressLine::Finish() {
    {
        const std::lock_guard lock(mutex_);
        if (original_) EraseLocked();
        finished_ = true;
    }
    wake_.notify_all();
}

ProgressLine::Hold::Hold(ProgressLine& line) : line_(line) {
    const std::lock_guard lock(line_.mutex_);
    if (line_.original_) line_.EraseLocked();
    ++line_.holds_;
}

ProgressLine::Hold::~Hold() {
    const std::lock_guard lock(line_.mutex_);
    --line_.holds_;
    line_.atLineStart_ = true;
}

std::string ProgressLine::TextLocked() const {
    std::string text = stage_;
    if (project_.Max() > 0)
        text += "  component " + std::to_string(project_.Value()) + "/" + std::to_string(project_.Max());
    if (file_.Max() > 0) text += "  lines " + Percent(file_.Value(), file_.Max());
    if (text.size() > kWidth) text = text.substr(0, kWidth - 3) + "...";
    return text;
}

void ProgressLine::EraseLocked() {
    if (!drawn_) return;
    original_->sputn("\r\x1b[2K", 5);
    original_->pubsync();
    drawn_ = false;
}

void ProgressLine::Loop() {
    std::unique_lock lock(mutex_);
    if (wake_.wait_for(lock, quietStart_, [this] { return finished_; })) return;
    while (!finished_) {
        if (holds_ == 0 && atLineStart_) {
            const std::string text = "\r\x1b[2K" + TextLocked();
            original_->sputn(text.data(), static_cast<std::streamsize>(text.size()));
            original_->pubsync();
            drawn_ = true;
        }
        wake_.wait_for(lock, redrawEvery_, [this] { return finished_; });
    }
}

}  // namespace vex::cli
