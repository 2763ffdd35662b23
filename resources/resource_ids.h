// Numbers of the dialog templates, their controls, the picture and the string table entry,
// shared by the resource script and the dialog procedures.
#pragma once

#define IDD_SETTINGS 122
#define IDD_README 149
#define IDB_PREVIEW 164
#define IDS_DESCRIPTION 1

// Settings dialog
#define IDC_MODE_LIST 1020
#define IDC_CONTINUOUS 1028
#define IDC_README 1063
#define IDC_MESSAGE 1068
#define IDC_FAST_MODE 1072
#define IDC_USE_3DFX 1075
#define IDC_SIZE_BAR 1079
#define IDC_SPEED_BAR 1080
#define IDC_MONITORS 1090
#define IDC_RAIN_COLOR 1091
#define IDC_GLYPH_SET 1092

// Read Me box
#define IDC_TITLE 1064
#define IDC_LINKS_INTRO 1065
#define IDC_LINK_FIRST 1083
#define IDC_LINK_SECOND 1084
