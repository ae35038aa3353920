#include "engine/LearnerMemory.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "engine/ChosenModes.h"
#include "engine/PaperExport.h"
#include "engine/PassTrend.h"
#include "engine/ReviewSettingsField.h"
#include "engine/ReviewTexts.h"
#include "engine/ReviewWait.h"

namespace cxb {

LearnerMemory::LearnerMemory(Session& s, JournalKeeper& journal, ChosenPractice& chosen)
    : s_(s), journal_(journal), chosen_(chosen) {}

LearnerDays LearnerMemory::daysAt(std::int64_t nowMs) const { return days_ ? *days_ : LearnerDays::local(nowMs); }

const MemoryBook& LearnerMemory::book(std::int64_t nowMs) {
    const auto& tag = journal_.loadedTag();
    const AnswerJournal* journal = s_.bankLoaded && tag ? journal_.journal() : nullptr;
    return memory_.book(journal, tag ? *tag : std::string(), daysAt(nowMs));
}

ReviewSettings LearnerMemory::settings() const { return ReviewSettingsField::read(*s_.state); }

std::vector<std::int32_t> LearnerMemory::bankIds() const {
    std::vector<std::int32_t> ids;
    const int n = s_.bankLoaded ? s_.questionCount() : 0;
    ids.reserve(static_cast<std::size_t>(n));
    for (int k = 1; k <= n; ++k) ids.push_back(s_.bank->records[static_cast<std::size_t>(k)].id);
    return ids;
}

int LearnerMemory::examSize() const {
    // As the mock exam sizes its paper.
    return std::clamp(s_.state->examCount, 0, std::min(s_.questionCount(), static_cast<int>(HistoryEntry::kMaxItems)));
}

std::vector<int> LearnerMemory::positions() {
    const std::int64_t now = journal_.now();
    const std::vector<std::int32_t> ids = bankIds();
    std::unordered_map<std::int32_t, int> position;
    position.reserve(ids.size());
    for (std::size_t k = 0; k < ids.size(); ++k) position.try_emplace(ids[k], static_cast<int>(k) + 1);
    std::vector<int> out;
    // Questions the bank no longer holds are left out.
    for (std::int32_t id : SmartReview::build(book(now), ids, now, settings())) {
        auto it = position.find(id);
        if (it != position.end()) out.push_back(it->second);
    }
    return out;
}

int LearnerMemory::start() {
    if (positions().empty()) {
        const std::int64_t now = journal_.now();
        s_.message(ReviewWait::of(book(now), bankIds(), now, settings()).text());
        return 0;
    }
    return chosen_.start(kTitle, ChosenModes::kSmartReview, [this] { return positions(); });
}

std::string LearnerMemory::noteAfterAnswer(std::int32_t questionId) {
    const std::int64_t now = journal_.now();
    const MemoryBook& b = book(now);
    if (!b.find(questionId)) return {};
    return ReviewTexts::comeBack(SmartReview::daysUntilDue(b, questionId, now, settings().retention));
}

PassEstimate LearnerMemory::passChance() {
    const std::int64_t now = journal_.now();
    return PassChance::estimate(book(now), bankIds(), examSize(), now);
}

void LearnerMemory::showPassChance() { s_.port.setText(Ctl::lbltongguo, ReviewTexts::passLines(passChance())); }

ReviewOutlook LearnerMemory::outlook() {
    ReviewOutlook o;
    if (!s_.bankLoaded) return o;
    const std::int64_t now = journal_.now();
    const MemoryBook& b = book(now);
    const ReviewSettings rs = settings();
    const std::vector<std::int32_t> ids = bankIds();
    const int unseen = static_cast<int>(std::count_if(ids.begin(), ids.end(), [&b](std::int32_t id) { return !b.find(id); }));
    const int newLeft = std::clamp(rs.newPerDay - b.newOnDay(b.days().dayOf(now)), 0, unseen);
    const DueCounts due = SmartReview::dueCounts(b, now, rs.retention);
    o.due = ReviewTexts::dueToday(due, newLeft);
    o.week = ReviewTexts::dueWeek(due);
    const PassEstimate e = PassChance::estimate(b, ids, examSize(), now);
    o.pass = ReviewTexts::passLine(e);
    o.reason = e.reason;
    return o;
}

std::string LearnerMemory::infoHtml() {
    if (!s_.bankLoaded) return {};
    const ReviewOutlook o = outlook();
    const ReviewSettings rs = settings();
    std::string h = "<h3>智能复习</h3><p>" + PaperExport::escape(o.due) + "。<br>" + PaperExport::escape(o.week) + "。";
    if (!o.pass.empty()) h += "<br><b>" + PaperExport::escape(o.pass) + "</b>";
    if (!o.reason.empty()) h += "（" + PaperExport::escape(o.reason) + "）";
    h += "</p><p>“智能复习”先出记忆快要淡忘的题，再出每天的新题；记得的可能低于记忆保持率 " +
         std::to_string(std::lround(rs.retention * 100.0)) + " %，题就到期了。每天新题 " +
         std::to_string(rs.newPerDay) + " 道。两者都可以在“设置”里改。</p>";
    return h;
}

BankProgress LearnerMemory::bankProgress() {
    BankProgress p = ProgressStats::bankProgress(*s_.bank);
    p.outlook = outlook();
    return p;
}

ScoreTrend LearnerMemory::scoreTrend() {
    ScoreTrend t = ProgressStats::scoreTrend(*s_.state);
    const auto& tag = journal_.loadedTag();
    AnswerJournal* journal = journal_.journal();
    if (t.empty() || !s_.bankLoaded || !tag || !journal) return t;
    const LearnerDays days = daysAt(journal_.now());
    std::vector<PaperMoment> papers;
    papers.reserve(t.papers.size());
    for (const PaperPoint& p : t.papers) papers.push_back({PassTrend::takenAtMs(p.takenAt, days), p.itemCount});
    const std::vector<double> chances = PassTrend::chances(journal->answers(*tag), papers, bankIds(), days);
    for (std::size_t i = 0; i < t.papers.size(); ++i) {
        if (chances[i] < 0) continue;
        PaperPoint& p = t.papers[i];
        p.passChance = chances[i] * 100.0;
        p.tip += "\n交卷时通过的可能" + ReviewTexts::chance(chances[i]);
    }
    return t;
}

} // namespace cxb
