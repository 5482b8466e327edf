#pragma once
// The identifiers of the Windows program's resources and of its windows'
// controls. Read by the resource script, the windows and their tests.

// Resources.
#define IDI_RTKELVANE 1
#define IDB_COMPUTERS 101
#define IDB_ARROW 102
#define IDB_TERMINAL 103
#define IDB_TILE_PORT 104
#define IDB_TILE_DIR 105
#define IDB_SPLASH 106
#define IDB_TOOLBAR 107

// frmMain, in tab index order where they take the focus.
#define IDC_TOOLBAR1 1001
#define IDC_LABEL2 1002
#define IDC_LABEL1_2 1003
#define IDC_TXTSENDDIR 1004
#define IDC_CMDSENDDIRSET 1005
#define IDC_LABEL1_0 1006
#define IDC_TXTRECVDIR 1007
#define IDC_CMDRECVDIRSET 1008
#define IDC_CHKFILEMODE 1009
#define IDC_SHAPE1 1010
#define IDC_PICSENDBUTTON 1011
#define IDC_PICTURE6 1012
#define IDC_PICDISP 1013
#define IDC_LABEL3 1014
#define IDC_SBRSTATUS 1015
// The toolbar's buttons.
#define IDC_TOOL_EXIT 1101
#define IDC_TOOL_SETTING 1102

// frmPortSetting.
#define IDC_PS_LABEL10 2001
#define IDC_PS_SHP1 2002
#define IDC_PS_LABEL1 2003
#define IDC_PS_LABEL2 2004
#define IDC_PS_LABEL6 2005
#define IDC_PS_LABEL3 2006
#define IDC_PS_LABEL7 2007
#define IDC_PS_LABEL4 2008
#define IDC_PS_LABEL8 2009
#define IDC_PS_LABEL9 2010
#define IDC_PS_CBOSPEED 2011
#define IDC_PS_CBOPORTNO 2012
#define IDC_PS_CMDOK 2013
#define IDC_PS_CMDCANCEL 2014
// The device picker below the frame: its caption, the list and the note.
#define IDC_PS_LABEL11 2015
#define IDC_PS_CBODEVICE 2016
#define IDC_PS_LABEL12 2017

// frmDirSelect: OK and Cancel are the dialog's own Enter and Esc.
#define IDC_DS_DIRLIST 3001
#define IDC_DS_DRVLIST 3002
#define IDC_DS_CMDOK 1
#define IDC_DS_CMDCANCEL 2

// frmFlash.
#define IDC_FL_PICTURE1 4001
