#include "ui/SettingsDialog.h"

#include "ui/MainWindow.h"

namespace cxb {

SettingsDialog::SettingsDialog(MainWindow& window, bool) : QDialog(&window), window_(window) { setObjectName("TForm6"); }

} // namespace cxb
