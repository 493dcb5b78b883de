#pragma once
// Every resource id of the program, by kind. The numbers are fixed: other
// programs may send the commands, and the tests pin them.

// Icons
#define IDI_APPLICATION_ICON 107
#define IDI_VAULT_ENTRY 108

// Strings
#define IDS_APP_TITLE 103
#define IDS_WINDOW_CLASS 109

// Accelerators
#define IDA_MAIN 109

// Dialogs, named by text
#define IDD_SET_PASSWORD "ENCRYPT"
#define IDD_ENTER_PASSWORD "DECRYPT"

// Child controls of the main window
#define IDC_FOLDER_TREE 129
#define IDC_ITEM_LIST 130
#define IDC_STATUS_BAR 132

// Controls of the password dialogs
#define IDC_PASSWORD_SET 1009
#define IDC_PASSWORD_ENTER 1011
#define IDC_PASSWORD_EDIT 1012
// The reset button is IDCANCEL, which the dialog manager sends for Esc: Esc
// asks to reset the password, after the current one is typed.
#define IDC_PASSWORD_RESET 2

// Item menu of a folder (IDM_OPEN also of the drives view)
#define IDM_OPEN 105
#define IDM_DELETE 32778
#define IDM_RENAME 32779
#define IDM_PROPERTIES 32780
#define IDM_VAULT_MOVE_IN 32815

// Item menu of the vault view, "移除Quillvane"
#define IDM_VAULT_MOVE_OUT 32816
#define IDM_VAULT_MOVE_OUT_OPEN 32823

// Background menu, "新建"
#define IDM_NEW_FOLDER 32773
#define IDM_NEW_BITMAP 32775
#define IDM_NEW_TEXT 32776
#define IDM_NEW_WORD 32811
#define IDM_NEW_POWERPOINT 32812
#define IDM_NEW_WAVE 32813
#define IDM_NEW_EXCEL 32814

// Background menu, "查看", "排列图标" and "刷新(&E)" (IDM_PROPERTIES too)
#define IDM_VIEW_ICON 32793
#define IDM_VIEW_LIST 32794
#define IDM_VIEW_DETAILS 32795
#define IDM_SORT_NAME 32796
#define IDM_SORT_SIZE 32797
#define IDM_SORT_TYPE 32798
#define IDM_SORT_TIME 32799
#define IDM_REFRESH 32805

// Keys without a menu entry; Ctrl+Enter, Ctrl+X, Ctrl+C, Ctrl+V, Alt+Left
// and Alt+Right do nothing
#define IDM_SELECT_ALL 32789
#define IDM_CTRL_ENTER 142
#define IDM_CUT 32783
#define IDM_COPY 32784
#define IDM_PASTE 32785
#define IDM_BACK 32801
#define IDM_FORWARD 32802

// Commands nothing in the program sends
#define IDM_EXIT 32781
#define IDM_INVERT_SELECTION 32790
#define IDM_BUILD_NUMBERED_TREE 32821
