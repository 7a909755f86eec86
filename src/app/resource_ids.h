#pragma once
#define IDI_POSTLARK 1
#define IDM_SYSTRAY 100
#define IDM_POP_RESTORE 101
#define IDM_POP_EXIT 102
#define IDM_POP_STARTUP 103
#define IDM_POP_QUIET 104
#define IDM_POP_TEST 105
#define IDM_POP_NOTIFY 106
#define IDM_POP_PAUSE_30 107
#define IDM_POP_PAUSE_60 108
#define IDM_POP_PAUSE_ON 109
#define IDM_POP_RESUME 110
// The mail apps, each with an id of its own from here on.
#define IDM_POP_APP_FIRST 200
#define IDM_POP_APP_LAST 263
