// cxbstats: a learner folder's memory of its chosen bank as JSON: each
// question's stability, difficulty, recall now and next due day, the due
// counts and the chance to pass a mock exam now. Reads only.
//   cxbstats FOLDER
#include <chrono>
#include <cstdio>
#include <string>

#include "engine/LearnerStats.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fputs("usage: cxbstats FOLDER\n\nPrints the memory figures of the learner folder FOLDER as JSON.\n", stderr);
        return 2;
    }
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::system_clock::now().time_since_epoch()).count();
    auto stats = cxb::LearnerStats::read(argv[1], static_cast<std::int64_t>(now));
    if (!stats) {
        std::fprintf(stderr, "cxbstats: %s\n", stats.error().c_str());
        return 1;
    }
    std::fputs(stats->json().c_str(), stdout);
    return 0;
}
