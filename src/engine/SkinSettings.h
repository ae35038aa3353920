#pragma once
#include <array>
#include <string>

#include "data/Sfile.h"

namespace cxb {

// The skin dialog's four background names: sequential, beginner, hard
// questions, mock exam.
class SkinSettings {
public:
    using Names = std::array<std::string, 4>; // UTF-8

    static Names read(const Sfile& state);
    // Stores the names in the state record. Refuses, changing nothing, a
    // name longer than 99 GBK bytes or one with characters GBK lacks;
    // returns the message to show then, or "" when stored.
    static std::string store(Sfile& state, const Names& names);
};

} // namespace cxb
