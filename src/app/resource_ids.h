#pragma once
#define IDI_POSTLARK 1
#define IDM_SYSTRAY 100
#define IDM_POP_RESTORE 101
#define IDM_POP_EXIT 102
