// The track list: Add, Delete, Move Up and Move Down.
#include "app/CDodezOvurerDlg.h"

void CDodezOvurerDlg::OnAdd() {}
void CDodezOvurerDlg::OnDelete() {}
void CDodezOvurerDlg::OnMoveUp() { MoveFirstSelected(-1); }
void CDodezOvurerDlg::OnMoveDown() { MoveFirstSelected(+1); }
void CDodezOvurerDlg::MoveFirstSelected(int) {}
