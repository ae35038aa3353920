#include "ui/HistoryDialog.h"

#include "ui/MainWindow.h"

namespace cxb {

HistoryDialog::HistoryDialog(MainWindow& window) : QDialog(&window), window_(window) { setObjectName("Tlishidlg"); }

void HistoryDialog::fillHistoryList() { exec(); }

} // namespace cxb
