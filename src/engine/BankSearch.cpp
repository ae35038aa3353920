#include "engine/BankSearch.h"

#include "data/FileBytes.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StoredPath.h"
#include "engine/ErrorReview.h"
#include "engine/RecordSorts.h"
#include "engine/Texts.h"

namespace cxb {

BankSearch::BankSearch(Session& s) : s_(s) {}

bool BankSearch::matches(const std::string& text, int id, const std::string& search) {
    // UTF-8 is self-synchronising, so a byte search finds whole characters.
    return search.empty() || text.find(search) != std::string::npos || search == std::to_string(id);
}

void BankSearch::btn2Click() {
    s_.port.setVisible(Ctl::pnl1, false);
    s_.port.setVisible(Ctl::Panel2, false);
    s_.port.setVisible(Ctl::souPNL, true);
    s_.port.setText(Ctl::mmo1, "");
    s_.modeCode = 5;
    souClick();
    s_.hidePanels();
    s_.port.setVisible(Ctl::souPNL, true);
}

void BankSearch::souClick() {
    RecordSorts::sortByWrongCount(*s_.bank);
    s_.searchRows.clear();
    for (int i = 1; i <= s_.questionCount(); ++i) {
        const QuestionRecord& r = s_.record(i);
        std::string text = gbk::toUtf8Lossy(readField(r.text));
        if (matches(text, r.id, s_.searchText)) s_.searchRows.push_back(ErrorReview::rowOf(r));
    }
    s_.searchSelected = -1;
    s_.port.setRows(Ctl::lv2, s_.searchRows);
}

void BankSearch::lv2SelectItem(int row) {
    if (row < 0 || row >= static_cast<int>(s_.searchRows.size())) return;
    s_.searchSelected = row;
    const QuestionRow& r = s_.searchRows[static_cast<std::size_t>(row)];
    s_.port.setText(Ctl::mmo1, r.text);
    s_.port.setText(Ctl::lbl3, "正确答案是：" + r.answer);
    int found = 0;
    for (int i = 1; i <= s_.questionCount(); ++i)
        if (std::to_string(s_.record(i).id) == r.id) {
            found = i;
            break;
        }
    if (!found) return;
    std::string name(readField(s_.record(found).picture));
    if (name.empty()) {
        s_.port.setVisible(Ctl::img1, false);
        return;
    }
    s_.port.setVisible(Ctl::img1, true);
    std::string path = s_.nativePath(picturePath(name, s_.state->extraBank == 1));
    if (fileExists(path))
        s_.port.setImage(Ctl::img1, path);
    else
        s_.message(texts::kPictureMissing + gbk::toUtf8Lossy(name));
}

} // namespace cxb
