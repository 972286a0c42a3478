/* Ids of the plug-in's dialog templates and of their controls, shared by the
   code that runs the dialogs, the resource script (res/lumo.rc) and the
   substitute host, which serves the same controls on Linux. Plain macros: the
   resource compiler reads this file too. */
#ifndef LUMO_RES_RESOURCE_IDS_H
#define LUMO_RES_RESOURCE_IDS_H

/* The MEMO dialog: one multi-line editor, OK (IDOK) and Cancel (IDCANCEL). */
#define IDD_MEMO 102
#define IDC_MEMO_TEXT 1004

#endif
