/* The numbers the resource script and the program share: resources by id, the
   commands of the menu and the tool bar. Plain #define lines, so that the resource
   compiler reads this header as well as the C++ compiler. */
#pragma once

/* Icon, menu, menu bar and strings. */
#define IDI_PROGRAM 101
#define IDR_GO_MENU 102     /* the "&Go" menu, and the menu bar's RCDATA record */
#define IDS_GO 302          /* the menu bar button's caption */

/* Dialog templates and their bitmaps. */
#define IDD_ABOUT 103
#define IDB_ABOUT 113
#define IDD_CHOOSE_FONT 105
#define IDD_SEARCH 115
#define IDB_KEYBOARD 119
#define IDD_CHOOSE_ARTICLE 118

/* The Choose Font dialog's controls; the code base 97 button is not in its template. */
#define IDC_FACE_LIST 1001
#define IDC_FONT_PREVIEW 1002
#define IDC_CODE_BASE_97 1003
#define IDC_CODE_BASE_224 1004
#define IDC_CODE_BASE_1488 1005
#define IDC_SIZE_LIST 1006

/* The About dialog's link to the home page. */
#define IDC_HOME_LINK 1025

/* The tool bar's button pictures and the outline marks. */
#define IDB_TOOLBAR 114
#define IDB_OUTLINE_PLUS 201
#define IDB_OUTLINE_MINUS 202
#define IDB_OUTLINE_PAGE 203

/* Commands (WM_COMMAND's low word). */
#define IDM_CHOOSE_ARTICLE 107  /* the tool bar's Choose Article button */
#define IDM_TODAY 108
#define IDM_NEXT_ARTICLE 109
#define IDM_PREVIOUS_ARTICLE 110
#define IDM_SEARCH 116
#define IDM_SEARCH_AGAIN 117
#define IDM_INDEX 119
#define IDM_REVERSE 122
#define IDM_BOOKMARK 123
#define IDM_CHECK_FOR_UPDATES 129
#define IDM_GO_BUTTON 40001     /* the menu bar's "Go" button */
#define IDM_ABOUT 40004
#define IDM_EXIT 40005
#define IDM_FONT 40006
