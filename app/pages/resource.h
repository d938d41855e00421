#pragma once

// Resource and control ids of the uninstaller. The resource compiler reads this file too, so it
// holds nothing but #defines.

#define IDI_PROGRAM 128

// Default banner pictures that templates and pages name. The program carries neither: without
// TopBar.bmp and LeftBar.bmp the pages show their plain body.
#define IDB_TOP_BANNER 131
#define IDB_LEFT_PICTURE 137

#define IDD_FINISH_PAGE 106
#define IDD_PROGRESS_PAGE 112
#define IDD_WAITING_PAGE 127
#define IDD_RESTART_PAGE 132
#define IDD_WAITING_BOX 2003

// Controls shared by several pages.
#define IDC_BACK 1001
#define IDC_REMOVE_LABEL 1001
#define IDC_LEFT_PICTURE 1003
#define IDC_TITLE 1004
#define IDC_BANNER 2004
#define IDC_HEADING 2029
#define IDC_MESSAGE 2015
#define IDC_SEPARATOR 2086

// Progress page.
#define IDC_STATUS 2002
#define IDC_PROGRESS 2003

// Finish page.
#define IDC_LAUNCH_FIRST 2064
#define IDC_LAUNCH_SECOND 2065

// Restart page.
#define IDC_HIDDEN_PICTURE 2005
#define IDC_RESTART_NOW 2067
#define IDC_RESTART_LATER 2068

// Waiting page.
#define IDC_BRAND 2056
