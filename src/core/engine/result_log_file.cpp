#include "engine/result_log_file.h"

#include <fstream>

#include "errors/runtime_error.h"
#include "util/file_io.h"

namespace vex::engine {

void SaveResultLog(const std::filesystem::path& file, std::string_view text) {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (!out)
        throw errors::RuntimeError(errors::code::kPathFileAccess,
                                   "cannot open " + util::Display(file) + " to append the result log");
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.write("\r\n", 2);
    out.flush();
    if (!out)
        throw errors::RuntimeError(errors::code::kPathFileAccess, "cannot write the result log to " + util::Display(file));
}

}  // namespace vex::engine
