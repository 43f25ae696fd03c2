// What the platforms' file code shares: single and batch writes, as one staging of files.

#include "util/file_io.h"

namespace vex::util {

void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes, const std::optional<FileStamp>& stamp) {
    StagedFiles files;
    files.Write(path, bytes, stamp);
    files.Commit();
}

void WriteFilesAtomic(const std::vector<FileWrite>& files, size_t* renamed) {
    StagedFiles staged;
    for (const auto& f : files) staged.Write(f.path, f.bytes);
    staged.Commit(renamed);
}

}  // namespace vex::util
