// The engine's five events.
#include "app/CDodezOvurerDlg.h"

void ENGINE_CALL CDodezOvurerDlg::OnFinalizeEvent(void*) {}
void ENGINE_CALL CDodezOvurerDlg::OnBurnDoneEvent(const char*, void*) {}
void ENGINE_CALL CDodezOvurerDlg::OnProcessEvent(float, uint32_t, float, double, uint64_t,
                                                 void*) {}
void ENGINE_CALL CDodezOvurerDlg::OnAudioDecoderEvent(float, uint64_t, void*) {}
void ENGINE_CALL CDodezOvurerDlg::OnAudioDecodeDoneEvent(const char*, uint32_t, int32_t,
                                                         void*) {}
