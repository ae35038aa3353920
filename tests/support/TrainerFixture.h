#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/Bank.h"
#include "engine/Trainer.h"
#include "support/FakeWindow.h"
#include "support/TempDir.h"

namespace cxb::test {

// The recording window, able to refuse one background bitmap and keeping
// every background load in order.
class RigWindow : public FakeWindow {
public:
    bool loadBackground(int mode, const std::string& nativePath) override {
        backgroundLoads.push_back(mode);
        FakeWindow::loadBackground(mode, nativePath);
        return mode != failBackgroundMode;
    }
    // Like a real check box, reports a change of its ticked state, also one
    // the program makes.
    void setChecked(Ctl control, bool ticked) override {
        const bool changed = checked[control] != ticked;
        FakeWindow::setChecked(control, ticked);
        if (changed && onChecked) onChecked(control, ticked);
    }
    std::function<void(Ctl, bool)> onChecked;
    int failBackgroundMode = 0; // 0: every bitmap loads
    std::vector<int> backgroundLoads;
    // Forgets what was recorded so far (not the state of the controls).
    void forget() {
        messages.clear();
        views.clear();
        sounds.clear();
        analyses.clear();
        backgroundLoads.clear();
        settingsOpened.clear();
    }
};

// Plain questions: ids 1..n in file order, single choice with answer A, no
// picture, no explanation, counters 0, `extra` = file position.
Bank plainBank(int n);
void setText(QuestionRecord& r, const std::string& utf8);
void setPicture(QuestionRecord& r, const std::string& utf8);
void setExplanation(QuestionRecord& r, const std::string& utf8);

// A skin file naming every picture key as "skin\<key>" and the sound as
// "skin\click.wav".
std::string fullSkinFile();

// A trainer in a fresh program folder: "bankdata\sys.dat" with the defaults
// (bank path "bankdata\x.tk", exam count 100) and the bank in
// "bankdata\x.tk", constructed and created as the window does at start.
class TrainerTest : public ::testing::Test {
protected:
    TempDir dir;
    RigWindow win;
    std::unique_ptr<Trainer> trainer;

    // `tweak` changes the state before it is written; `skinFile` is written
    // as "皮肤.ini" when not empty.
    void start(const Bank& bank, const std::function<void(Sfile&)>& tweak = {},
               const std::string& skinFile = fullSkinFile());
    // Writes the state and bank files only.
    void writeFiles(const Bank& bank, const std::function<void(Sfile&)>& tweak = {},
                    const std::string& skinFile = fullSkinFile());

    Trainer& t() { return *trainer; }
    Session& s() { return trainer->s; }
    ListEntry& entry(int i) { return trainer->s.entry(i); }
    // The bank record with this id (fails the test when there is none).
    QuestionRecord& recordOf(int id);
    // The ids of list entries 1..listCount.
    std::vector<int> listIds();
    // The ids of bank records 1..questionCount, in buffer order.
    std::vector<int> bankIds();
    // Native path of a file in the program folder, stored form accepted.
    std::string path(const std::string& relative) const { return dir.path() + "/" + relative; }
    // Answers the entry at `position`.
    void answerAt(int position, int code);
};

} // namespace cxb::test
