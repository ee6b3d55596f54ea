// Resource, control and timer ids, and the main dialog's other fixed figures:
// the one place they are named. Shared by the resource script and the C++
// code, so plain #defines; what only the C++ code reads stands at the end.
#pragma once

// The main dialog's title while no burn runs.
#define IDLE_TITLE "Quillotune"

// Dialogs
#define IDD_QUILLOTUNE 102

// Icons
#define IDI_PROGRAM 132
#define IDI_ADD 138
#define IDI_DELETE 140
#define IDI_EXIT 141
#define IDI_BURN 142
#define IDI_ERASE 143
#define IDI_PLAY 149
#define IDI_STOP 150
#define IDI_MOVE_DOWN 155
#define IDI_MOVE_UP 156

// Bitmaps
#define IDB_SPLASH 160
#define IDB_BANNER 1000

// Controls of dialog 102
#define IDC_BANNER 1000
#define IDC_INFORMATION 1002
#define IDC_BYTES_WRITTEN 1003
#define IDC_BUFFER 1004
#define IDC_BURN_PROGRESS 1005
#define IDC_RECORDERS 1006
#define IDC_EJECT 1007
#define IDC_JOLIET 1008
#define IDC_FINALIZE 1009
#define IDC_ADD 1011
#define IDC_DELETE 1013
#define IDC_MOVE_UP 1014
#define IDC_ERASE 1015
#define IDC_BURN 1016
#define IDC_EXIT 1017
#define IDC_MOVE_DOWN 1018
#define IDC_TOTALS 1019
#define IDC_BURN_WITH_DIALOG 1022
#define IDC_CAPTION 1023
#define IDC_PLAY 1024
#define IDC_TRACKS 1025
#define IDC_DECODER_PROGRESS 1026
#define IDC_STOP_PREVIEW 1027
#define IDC_ADD_HINT 1028
#define IDC_RULER 1029
#define IDC_SPEED 1030
#define IDC_VOLUME_LABEL 1031
#define IDC_WEB_LINK 1032

// Timers of the main dialog
#define TIMER_RULER_REFRESH 18
#define TIMER_BURN_START 102
#define TIMER_UPDATE_QUESTION 127

// The splash window's own timers
#define TIMER_SPLASH 1
#define TIMER_SPLASH_FRONT 2

#ifndef RC_INVOKED
constexpr wchar_t kIdleTitle[] = L"" IDLE_TITLE;

// The main dialog's outer height in pixels: down to the "Eject After Burn"
// row, or shorter still in the "Burn with Dialog" mode.
constexpr int kWindowHeight = 558;
constexpr int kWindowHeightWithBurnDialog = 457;

// The track list's columns.
constexpr int kNumberColumn = 0;
constexpr int kPathColumn = 1;
constexpr int kPlayTimeColumn = 2;
#endif
