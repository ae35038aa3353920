#pragma once
// The two images cxb_savehammer saves by turns, for the state file and for
// a bank, and that the kill-loop test compares the files with.
#include <cstddef>
#include <memory>
#include <string>

#include "data/Bank.h"
#include "data/BankGenerator.h"
#include "data/StateFile.h"

namespace cxb::hammer {

inline constexpr const char* kStateName = "sys.dat";
inline constexpr const char* kBankName = "bank.tk";
inline constexpr int kBankQuestions = 725; // as large as the shipped car bank

// A state record with the defaults up front and every later byte depending
// on its position and on `which` (0 or 1), so any mix of the two shows.
inline std::unique_ptr<Sfile> stateImage(int which) {
    auto s = StateFile::newRecord();
    auto* p = reinterpret_cast<unsigned char*>(s.get());
    for (std::size_t i = 0; i < sizeof(Sfile); ++i) p[i] = static_cast<unsigned char>((i * 7 + 97 * which) % 251 + 1);
    StateFile::resetState(*s);
    s->examCount = which == 0 ? 100 : 50;
    return s;
}

inline Bank bankImage(int which) { return BankGenerator::make(kBankQuestions, which == 0 ? 101 : 202); }

} // namespace cxb::hammer
