#include "engine/SettingsModel.h"
#include "engine/MasterySetting.h"
#include "engine/TextSize.h"
#include "engine/ReviewSettingsField.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StoredPath.h"
#include "engine/Trainer.h"

namespace cxb {

namespace {

// The built-in banks, in UTF-8 here; the state file keeps them in GBK.
constexpr const char* kXiao = "bankdata\\小车.tk";
constexpr const char* kKe = "bankdata\\客车.tk";
constexpr const char* kHuo = "bankdata\\货车.tk";

bool endsWithTk(const std::string& name) {
    if (name.size() < 3) return false;
    std::string tail = name.substr(name.size() - 3);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".tk";
}

} // namespace

bool SettingsModel::parseInteger(const std::string& text, std::int32_t& out) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    const long long limit = negative ? -static_cast<long long>(std::numeric_limits<std::int32_t>::min())
                                     : std::numeric_limits<std::int32_t>::max();
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
        if (value > limit) return false;
    }
    out = static_cast<std::int32_t>(negative ? -value : value);
    return true;
}

SettingsValues SettingsModel::openingValues(const Sfile& st) {
    SettingsValues v;
    v.bankRadio = st.bankChoice >= 1 && st.bankChoice <= 4 ? st.bankChoice : 0;
    if (st.bankChoice == 4) v.bankText = gbk::toUtf8Lossy(readField(st.bankPath));
    v.beginnerCount = std::to_string(st.beginnerCount);
    v.hardCount = std::to_string(st.hardCount);
    v.hardSensitivity = std::to_string(st.hardSensitivity);
    const std::int32_t keys[6] = {st.keyPrevious, st.keyNext, st.keyAnswerA, st.keyAnswerB, st.keyAnswerC, st.keyAnswerD};
    for (std::size_t i = 0; i < 6; ++i) v.keys[i] = std::to_string(keys[i]);
    v.pauseMs = std::to_string(st.pauseMs);
    v.examSeconds = std::to_string(st.examSeconds);
    v.examCount = std::to_string(st.examCount);
    v.backColor = st.backColor;
    v.textColor = st.textColor;
    v.textSize = TextSize::of(st);
    v.mastery = MasterySetting::of(st);
    const ReviewSettings review = ReviewSettingsField::read(st);
    v.retentionPercent = ReviewSettingsField::retentionPercent(review);
    v.newPerDay = std::clamp(review.newPerDay, 0, ReviewSettingsField::kMaxNewPerDay);
    return v;
}

SettingsOutcome SettingsModel::apply(Trainer& trainer, const SettingsValues& v) {
    SettingsOutcome refused;

    // The extra bank's name must fit its field in the state file whole.
    std::string extraPath;
    if (v.bankRadio == 4) {
        bool storable = true;
        extraPath = toStoredPath(v.bankText, &storable);
        if (!storable || extraPath.size() + 1 > sizeof(Sfile::bankPath)) {
            refused.field = SettingsField::tiku_te;
            refused.message = storable ? kPathTooLong : kPathNotStorable;
            return refused;
        }
    }

    // Every number, in the order OK takes them, before anything changes.
    struct Number {
        SettingsField field;
        const std::string* text;
        std::int32_t value = 0;
    };
    Number numbers[] = {
        {SettingsField::chuji, &v.beginnerCount},  {SettingsField::nanti, &v.hardCount},
        {SettingsField::nantixishu, &v.hardSensitivity}, {SettingsField::edt1, &v.keys[0]},
        {SettingsField::edt2, &v.keys[1]},         {SettingsField::edt3, &v.keys[2]},
        {SettingsField::edt4, &v.keys[3]},         {SettingsField::edt5, &v.keys[4]},
        {SettingsField::edt6, &v.keys[5]},         {SettingsField::edt7, &v.pauseMs},
        {SettingsField::edt8, &v.examSeconds},     {SettingsField::edtkaoshitishu, &v.examCount},
    };
    for (Number& n : numbers) {
        if (!parseInteger(*n.text, n.value)) {
            refused.field = n.field;
            refused.message = "''" + *n.text + "'' is not a valid integer value";
            return refused;
        }
    }
    auto number = [&numbers](SettingsField f) {
        for (const Number& n : numbers)
            if (n.field == f) return n.value;
        return 0;
    };

    Session& s = trainer.s;
    Sfile& st = *s.state;
    st.extraBank = 0;
    int pending = 1;
    switch (v.bankRadio) {
    case 1: writeField(st.bankPath, gbk::fromUtf8Lossy(kXiao)); pending = 1; break;
    case 2: writeField(st.bankPath, gbk::fromUtf8Lossy(kKe)); pending = 2; break;
    case 3: writeField(st.bankPath, gbk::fromUtf8Lossy(kHuo)); pending = 3; break;
    case 4:
        st.extraBank = 1;
        pending = 4;
        writeField(st.bankPath, extraPath);
        break;
    default: break; // no bank checked: the path stays, the choice becomes 1
    }
    st.backColor = v.backColor;
    st.textColor = v.textColor;
    st.beginnerCount = number(SettingsField::chuji);
    st.hardCount = number(SettingsField::nanti);
    st.hardSensitivity = number(SettingsField::nantixishu);
    st.keyPrevious = number(SettingsField::edt1);
    st.keyNext = number(SettingsField::edt2);
    st.keyAnswerA = number(SettingsField::edt3);
    st.keyAnswerB = number(SettingsField::edt4);
    st.keyAnswerC = number(SettingsField::edt5);
    st.keyAnswerD = number(SettingsField::edt6);
    st.pauseMs = number(SettingsField::edt7);
    st.examSeconds = number(SettingsField::edt8);
    st.bankChoice = pending;
    st.examCount = number(SettingsField::edtkaoshitishu);
    TextSize::store(st, TextSize::fromIndex(v.textSize));
    MasterySetting::store(st, v.mastery);
    // Settings left as they were keep their bytes: a file that never set
    // them goes on reading as the defaults.
    const ReviewSettings review = ReviewSettingsField::chosen(v.retentionPercent, v.newPerDay);
    const ReviewSettings before = ReviewSettingsField::read(st);
    if (review.newPerDay != before.newPerDay || std::lround(review.retention * 1000) != std::lround(before.retention * 1000))
        ReviewSettingsField::write(st, review);

    trainer.switchBank(); // reports a bank it cannot load; OK goes on
    trainer.saveState();  // reports a state file it cannot write; OK goes on

    st.bankChoice = pending;
    s.bankCount = s.questionCount();
    s.port.applyTextColours(st.backColor, st.textColor);
    s.port.setTimerInterval(Tmr::TimerNext, st.pauseMs);

    SettingsOutcome done;
    done.applied = true;
    return done;
}

std::vector<std::string> SettingsModel::extraBanks(const std::string& folder) {
    std::vector<std::string> names;
    const std::string dir = folder.empty() ? std::string(".") : folder;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return names;
    while (const dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (!endsWithTk(name)) continue;
        struct stat info {};
        if (::stat((dir + "/" + name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        names.push_back(name);
    }
    ::closedir(d);
    return names;
}

} // namespace cxb
