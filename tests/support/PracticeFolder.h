#pragma once
// A program folder with a generated car bank of pictureless questions and a
// state file naming it, with 5-question exams: what the window tests start
// the real main window in.
#include <cstddef>
#include <cstdint>
#include <gtest/gtest.h>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "support/TempDir.h"

namespace cxb::test {

struct PracticeFolder {
    TempDir dir;
    PracticeFolder(int questions, std::uint32_t seed) {
        dir.mkdir("bankdata");
        Bank bank = BankGenerator::make(questions, seed);
        for (int i = 1; i <= questions; ++i) bank.records[static_cast<std::size_t>(i)].picture[0] = '\0';
        EXPECT_EQ(BankFile::store(bank, dir.file("bankdata/小车.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        state->examCount = 5;
        writeField(state->bankPath, *gbk::fromUtf8("bankdata\\小车.tk"));
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
};

} // namespace cxb::test
