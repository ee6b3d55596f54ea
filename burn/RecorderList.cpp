// The recorder list and Erase.
#include "app/CDodezOvurerDlg.h"

void CDodezOvurerDlg::FillRecorderList() {}
