#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace cxb {

// The copies kept of a file before its place is taken: "<file><mark>" is the
// first, then "<file><mark>.2", "<file><mark>.3", … A new copy always gets a
// number above every one there, so no copy ever replaces an earlier one; of
// the numbered copies the newest kKept stay and older ones are removed.
class BackupFiles {
public:
    static constexpr int kKept = 5;
    static constexpr std::string_view kBankMark = ".bak";
    static constexpr std::string_view kUnreadableMark = ".unreadable";

    // The name of copy `number` (1 and up) of `file`.
    static std::string pathOf(const std::string& file, std::string_view mark, int number);
    // The numbers of the copies there, lowest first.
    static std::vector<int> numbers(const std::string& file, std::string_view mark);

    // Writes `bytes` as the next copy of `file` (atomically). Returns "" and
    // the copy's path in `written`, or what went wrong.
    static std::string keep(const std::string& file, std::string_view mark, std::string_view bytes,
                            std::string& written);
    // Moves `file` itself aside under the next copy's name, whatever it
    // holds and whoever may read it. Returns "" and the new path in
    // `movedTo`, or what went wrong (then `file` is where it was).
    static std::string moveAside(const std::string& file, std::string_view mark, std::string& movedTo);

    // Removes all but the newest kKept copies.
    static void prune(const std::string& file, std::string_view mark);
};

} // namespace cxb
