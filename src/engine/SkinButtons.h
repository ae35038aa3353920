#pragma once
#include "engine/Controls.h"
#include "engine/Session.h"

namespace cxb {

// The picture buttons' pictures: hover, leave and press pictures from the
// skin table, the shared hover flag, the answer buttons' highlight of the
// chosen answer and their sound.
class SkinButtons {
public:
    explicit SkinButtons(Session& s);

    void mouseMove(Ctl button);
    void mouseLeave(Ctl button);
    void mouseDown(Ctl button);
    void refreshAnswerButtons();
    // Every button in its normal picture.
    void showNormal();

    static bool isAnswerButton(Ctl button);
    struct Keys {
        Ctl button;
        const char* normal;
        const char* hover;
        const char* pressed; // nullptr: no pressed picture
    };
    static const Keys* keysOf(Ctl button);
    static const Keys* table(int* count);

private:
    void load(Ctl button, const char* key);
    Session& s_;
};

} // namespace cxb
