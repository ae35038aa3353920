#pragma once
#include <string>
#include <string_view>

namespace cxb {

// The skin table: which picture each state of each picture button shows,
// read from "皮肤.ini". Pairs 1..pairCount are in use; pair 0 stays empty.
struct Strfile {
    static constexpr int kPairs = 100;
    struct STRFILE {
        std::string key;
        std::string value;
    };
    STRFILE pairs[kPairs];
    int pairCount = 0;
};

class SkinFile {
public:
    static constexpr std::string_view kFileName = "皮肤.ini";
    static constexpr std::string_view kAbsent = "null";
    // Longest line piece that one read takes.
    static constexpr std::size_t kMaxLine = 199;

    // Fills the table from the file's bytes, line by line: key="value".
    static void parse(std::string_view bytes, Strfile& table);
    // Reads the file (read-only); an unreadable file leaves the table empty.
    static void load(Strfile& table, const std::string& nativePath);
    // The value of the first pair with this key, or "null".
    static std::string lookup(const Strfile& table, std::string_view key);
    // Splits one line into key and value.
    static void parseLine(std::string_view line, std::string& key, std::string& value);
};

inline std::string lookupSkin(const Strfile& table, std::string_view key) { return SkinFile::lookup(table, key); }

} // namespace cxb
