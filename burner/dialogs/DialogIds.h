// Resource and control ids of the engine's own dialogs, shared by the
// resource script and the code, so plain #defines.
#pragma once

#define IDD_ENGINE_BURN 300
#define IDD_ENGINE_ERASE 301

#define IDC_ENGINE_RECORDER 3001
#define IDC_ENGINE_TRACKS 3002
#define IDC_ENGINE_LABEL 3003
#define IDC_ENGINE_PROGRESS 3004
#define IDC_ENGINE_STATUS 3005
#define IDC_ENGINE_BURN 3006
#define IDC_ENGINE_NOTE_ICON 3007
#define IDC_ENGINE_NOTE 3008
