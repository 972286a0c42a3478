/* Ids of the plug-in's dialog templates and of their controls, shared by the
   code that runs the dialogs, the resource script (res/lumo.rc) and the
   substitute host, which serves the same controls on Linux. Plain macros: the
   resource compiler reads this file too. */
#ifndef LUMO_RES_RESOURCE_IDS_H
#define LUMO_RES_RESOURCE_IDS_H

/* The MEMO dialog: one multi-line editor, OK (IDOK) and Cancel (IDCANCEL). */
#define IDD_MEMO 102
#define IDC_MEMO_TEXT 1004

/* The setup dialog: options, subject tag, folder names and hotkeys, OK
   (IDOK) and Cancel (IDCANCEL). */
#define IDD_SETTINGS 101
#define IDC_CRE_SC_MAIL_CHECK 1000
#define IDC_SUB_CH 1001
#define IDC_TO_DEL 1002
#define IDC_REAL_MAIL 1003
#define IDC_SC_TAG 1004
#define IDC_MSG_ST 1007
#define IDC_SET_FOLDER 1008
#define IDC_SET_FOLDER_NAME 1009
#define IDC_RET_FOLDER_NAME 1010
#define IDC_RET_FOLDER 1011
#define IDC_HOTKEY 1015
#define IDC_HOTKEY_LIST 1018

/* The plug-in's icon, shown in the setup dialog. */
#define IDI_LUMO 103

/* Controls nobody addresses. */
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif
