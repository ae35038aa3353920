#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "data/FileProblem.h"
#include "data/Sfile.h"

namespace cxb {

// Reading and writing the state file "bankdata\sys.dat".
class StateFile {
public:
    static constexpr std::string_view kStoredPath = "bankdata\\sys.dat";

    // Error codes shown to the user as "错误代码:N,…".
    enum Code { kMissing = 1, kCannotWrite = 2, kSaveFailed = 3 };

    struct LoadReport {
        bool created = false; // the file was missing and defaults were used
        int firstCode = 0;    // 0, or kMissing
        int saveCode = 0;     // 0, or the code of the save that followed
        std::string detail;   // what the system said, for the log
        FileProblem problem = FileProblem::None;     // why firstCode
        FileProblem saveProblem = FileProblem::None; // why saveCode
        // A file that was there but could not be read (no permission, a
        // read that failed half-way) is never written over: it is moved
        // aside under this name, and the record holds the defaults.
        std::string movedAside;
        // ... or, when even that failed, left where it is: then no save may
        // replace it during this run.
        bool leftAlone = false;
        // A file of another size than the record was read as far as it goes;
        // a copy of it is kept under this name before any save replaces it.
        std::string sizeCopy;
    };

    // A zero-filled record with bankChoice 1, as every load starts from.
    static std::unique_ptr<Sfile> newRecord();

    // Lays `bytes` over the record: a short file fills the leading part, a
    // longer one is cut at the record's size.
    static void parse(std::string_view bytes, Sfile& state);

    // The defaults of a new state: bank choice, colours, counts, keys, pause,
    // exam time; historyCount 0. Names, paths and history slots are kept.
    static void resetState(Sfile& state);

    // Loads the file at `nativePath`; a missing file gets the defaults and
    // is written at once. A folder in the file's place is left alone.
    static LoadReport loadState(Sfile& state, const std::string& nativePath);

    // Writes the whole record atomically. 0 on success; kCannotWrite when the
    // file could not be opened for the save (write-protected, a folder in its
    // place, no folder, no right to create it); kSaveFailed when writing
    // failed after that (a full disk). The old file stays whole either way.
    static int saveState(const Sfile& state, const std::string& nativePath, std::string* detail = nullptr,
                         FileProblem* problem = nullptr);

    // Test seam: called before each read of the state file with the bytes
    // read so far; returning false makes that read fail (as a bad disk
    // block would). Pass an empty function to remove it.
    using ReadHook = std::function<bool(std::size_t offset)>;
    static void setReadHook(ReadHook hook);
};

} // namespace cxb
