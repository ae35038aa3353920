#include "ui/SkinDialog.h"

#include "ui/MainWindow.h"

namespace cxb {

SkinDialog::SkinDialog(MainWindow& window, bool) : QDialog(&window), window_(window) { setObjectName("TForm_Pifu"); }

} // namespace cxb
