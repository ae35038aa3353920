#pragma once
// The main window on a generated bank of 1,999 questions in a folder of its
// own, in sequential practice: what the window benchmarks measure.
#include <QString>
#include <memory>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"

namespace cxb::bench {

struct BenchWindow {
    test::TempDir dir;
    std::unique_ptr<MainWindow> window;
    BenchWindow() {
        Dialogs::setMessageHandler([](const QString&) {});
        dir.mkdir("bankdata");
        BankFile::store(BankGenerator::make(1999, 3), dir.file("bankdata/b.tk"));
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\b.tk");
        StateFile::saveState(*state, dir.file("bankdata/sys.dat"));
        window = std::make_unique<MainWindow>(QString::fromStdString(dir.path()));
        window->trainer().modes.SunXuClick();
    }
};

} // namespace cxb::bench
