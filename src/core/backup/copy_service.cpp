#include "backup/copy_service.h"

#include <system_error>

#include "errors/runtime_error.h"
#include "util/file_io.h"

namespace vex::backup {

namespace fs = std::filesystem;

bool FileSystemCopyService::Copy(const fs::path& source, const fs::path& destination, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = "cannot copy " + util::Display(source) + " to " + util::Display(destination) + ": " + why;
        return false;
    };
    std::error_code ec;
    const auto status = fs::status(source, ec);
    if (ec || !fs::exists(status)) return fail("the file does not exist");
    if (!fs::is_regular_file(status)) return fail("it is not a regular file");
    // A backup usually goes to files not there yet: only one that is there may be the source itself.
    const auto there = fs::status(destination, ec);
    if (fs::exists(there) && fs::equivalent(source, destination, ec) && !ec) return true;  // its own copy already
    // The shell answers yes to its own questions, "create the folder?" among them. A run's copies mostly
    // share their folder, made once.
    if (destination.has_parent_path() && destination.parent_path() != madeFolder_) {
        fs::create_directories(destination.parent_path(), ec);
        if (!ec) madeFolder_ = destination.parent_path();
    }
    // Known now rather than at the rename, so that the run asks about this file while at it.
    if (fs::is_directory(there)) return fail(util::Display(destination) + " is a folder");
    try {
        // Project files are small: read whole, then written whole with the source's permissions and time.
        staged_.Write(destination, util::ReadFile(source), util::StampOf(source));
    } catch (const errors::RuntimeError& e) {
        return fail(e.Description());
    }
    return true;
}

long FileSystemCopyService::Finish(std::string* error) {
    const size_t staged = staged_.Count();
    size_t renamed = 0;
    try {
        staged_.Commit(&renamed);
    } catch (const errors::RuntimeError& e) {
        if (error) *error = "cannot copy into " + e.Description();
        return static_cast<long>(staged - renamed);
    }
    return 0;
}

}  // namespace vex::backup
