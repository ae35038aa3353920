// cxb_savehammer <folder> <first 0|1> [rounds]
//
// Saves the state file and a bank in <folder> over and over, image 0 and
// image 1 by turns (tools/HammerImages.h), starting with <first>. Without
// [rounds] it runs until it is killed, which is what the kill-loop test
// does to it. Exits 1 as soon as a save fails.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "data/BankFile.h"
#include "data/StateFile.h"
#include "tools/HammerImages.h"

using namespace cxb;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <first 0|1> [rounds]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const int first = std::atoi(argv[2]) == 0 ? 0 : 1;
    const long rounds = argc > 3 ? std::atol(argv[3]) : -1;
    const std::string statePath = folder + "/" + hammer::kStateName;
    const std::string bankPath = folder + "/" + hammer::kBankName;

    // Made when first needed, so the first save starts soon.
    std::unique_ptr<Sfile> states[2];
    std::optional<Bank> banks[2];
    for (long i = 0; rounds < 0 || i < rounds; ++i) {
        const int which = static_cast<int>((first + i) % 2);
        if (!states[which]) states[which] = hammer::stateImage(which);
        std::string detail;
        if (StateFile::saveState(*states[which], statePath, &detail) != 0) {
            std::fprintf(stderr, "state save failed: %s\n", detail.c_str());
            return 1;
        }
        if (!banks[which]) banks[which] = hammer::bankImage(which);
        std::string why = BankFile::store(*banks[which], bankPath);
        if (!why.empty()) {
            std::fprintf(stderr, "bank save failed: %s\n", why.c_str());
            return 1;
        }
    }
    return 0;
}
