#include "engine/StarterState.h"

#include "data/FixedField.h"
#include "data/StateFile.h"
#include "engine/SettingsModel.h"

namespace cxb {

std::unique_ptr<Sfile> StarterState::make() {
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    state->bankChoice = 1;
    writeField(state->bankPath, kBankPath);
    state->examCount = kExamCount;
    state->examSeconds = kExamSeconds;
    state->backColor = SettingsModel::kSuggestedBack;
    state->textColor = SettingsModel::kSuggestedText;
    return state;
}

} // namespace cxb
