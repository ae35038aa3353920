#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "data/FileProblem.h"

namespace cxb {

// Replaces a file in one step: the bytes go to a temporary file
// "<name>.tmp-XXXXXX" in the same folder, are flushed to the disk, and the
// temporary file is renamed over the target. A failure at any point leaves
// the old file as it was and removes the temporary file.
//
// A write-protected file is never replaced: one whose owner may not write
// it (whoever runs the program, root included), or one the running user may
// not write. A symbolic link is written through: the file it finally points
// to is replaced and the link stays a link. A link that points nowhere gets
// its target created, as opening it for writing would.
//
// A file whose owner or group the new file could not keep (another user's
// file in a shared folder), or one with other hard links, is not replaced
// but overwritten in place, after a complete copy of the new bytes has been
// written, flushed and read back as "<name>.through-XXXXXX". A crash during
// that overwrite leaves the copy; tidy() at the next start finishes the write.
//
// A process killed during a save leaves its temporary file behind; the next
// save of the same target, or tidy() at the next start, removes it. A save in progress holds a lock on its
// temporary file, so a second copy of the program saving the same target at
// the same time never loses its temporary file to that clean-up.
class AtomicFile {
public:
    // Where a save stopped.
    enum class Failure {
        None,
        CannotOpen,  // nothing was written: protected, no such folder, no room for a new file, ...
        WriteFailed, // the new file was open, but writing, flushing or putting it in place failed
    };
    struct Outcome {
        Failure failure = Failure::None;
        std::string why; // what went wrong, empty on success
        FileProblem problem = FileProblem::None;
        bool ok() const { return failure == Failure::None; }
    };

    static Outcome save(const std::string& nativePath, std::string_view bytes);
    // The same, as an empty string on success, else what went wrong.
    static std::string write(const std::string& nativePath, std::string_view bytes);

    // True for the names write() gives its temporary files for `target`
    // (a file name, without folder).
    static bool isTemporaryOf(std::string_view name, std::string_view target);

    // At a start: removes the temporary files of saves that were killed, of
    // every file in `folder`, and finishes in-place saves that were cut
    // short. Files a running save holds are left alone. Returns how many
    // were dealt with.
    static int tidy(const std::string& folder);

    // Test seam: called before each chunk is written with the number of
    // bytes written so far; returning false makes that write fail (as a full
    // disk would). Pass an empty function to remove it.
    using WriteHook = std::function<bool(const std::string& path, std::size_t offset)>;
    static void setWriteHook(WriteHook hook);
};

} // namespace cxb
