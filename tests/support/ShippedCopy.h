#pragma once
// A copy of the runnable folder (the shipped banks, pictures and skin) in a
// temporary folder, with the state file the build ships, or one a test
// gives: what the window tests on the real content start in.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/StateFile.h"
#include "engine/StarterState.h"
#include "support/TempDir.h"

namespace cxb::test {

struct ShippedCopy {
    TempDir dir;
    ShippedCopy() : ShippedCopy(*StarterState::make()) {}
    explicit ShippedCopy(const Sfile& state) {
        namespace fs = std::filesystem;
        fs::copy(CXB_APP_DIR, dir.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        EXPECT_EQ(0, StateFile::saveState(state, dir.file("bankdata/sys.dat")));
    }
};

} // namespace cxb::test
