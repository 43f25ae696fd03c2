#include "engine/result_log_file.h"

#include <fstream>

#include "errors/runtime_error.h"

namespace vex::engine {

void SaveResultLog(const std::filesystem::path& file, std::string_view text) {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (!out)
        throw errors::RuntimeError(errors::code::kPathFileAccess,
                                   "cannot open " + file.string() + " to append the result log");
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.write("\r\n", 2);
    out.flush();
    if (!out)
        throw errors::RuntimeError(errors::code::kPathFileAccess, "cannot write the result log to " + file.string());
}

}  // namespace vex::engine
