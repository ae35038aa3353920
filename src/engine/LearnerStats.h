#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data/Result.h"
#include "engine/PassChance.h"
#include "engine/SmartReview.h"

namespace cxb {

// One question's memory as the learner's data shows it.
struct QuestionMemory {
    std::int32_t id = 0;
    bool answered = false;
    double stability = 0, difficulty = 0, recall = 0;
    std::int64_t dueMs = 0;
};

// What a learner folder says about the learner's memory of the chosen
// bank: read only, nothing in the folder is made or changed.
struct LearnerStats {
    std::string bankTag;
    std::string bankPath;
    std::int64_t nowMs = 0;
    int journalAnswers = 0;
    bool hasJournal = false;
    std::vector<QuestionMemory> questions; // in bank order
    DueCounts due{};
    PassEstimate pass;

    // Reads FOLDER's state file, the bank it names and the answer journal
    // beside them; an error when the state file or the bank cannot be read.
    // The retention is the one the state file holds.
    static Result<LearnerStats> read(const std::string& folder, std::int64_t nowMs);
    // The figures as JSON (UTF-8).
    std::string json() const;
};

} // namespace cxb
