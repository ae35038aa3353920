// startstate: writes the state file the runnable folder ships with, unless
// there is one already (a learner's settings and history are never replaced).
//   startstate FILE
#include <cstdio>
#include <string>

#include "data/FileBytes.h"
#include "data/StateFile.h"
#include "engine/StarterState.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fputs("usage: startstate FILE\n\nWrites the starter state file to FILE unless FILE exists.\n", stderr);
        return 2;
    }
    const std::string path = argv[1];
    if (cxb::pathExists(path)) {
        std::printf("startstate: %s is there already, left as it is\n", path.c_str());
        return 0;
    }
    auto state = cxb::StarterState::make();
    if (int code = cxb::StateFile::saveState(*state, path); code != 0) {
        std::fprintf(stderr, "startstate: cannot write %s (code %d)\n", path.c_str(), code);
        return 1;
    }
    return 0;
}
