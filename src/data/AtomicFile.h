#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace cxb {

// Replaces a file in one step: the bytes go to a temporary file in the same
// folder, are flushed to the disk, and the temporary file is renamed over the
// target. A failure at any point leaves the old file as it was.
class AtomicFile {
public:
    // Returns an empty string on success, else what went wrong.
    static std::string write(const std::string& nativePath, std::string_view bytes);

    // Test seam: called before each chunk is written with the number of
    // bytes written so far; returning false makes that write fail (as a full
    // disk would). Pass an empty function to remove it.
    using WriteHook = std::function<bool(const std::string& path, std::size_t offset)>;
    static void setWriteHook(WriteHook hook);
};

} // namespace cxb
