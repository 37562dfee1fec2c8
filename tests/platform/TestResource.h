// Symbols of the tests' own dialog (TestDialog.rc).
#pragma once

#define IDD_TEST 100
#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_KIND 1003
#define IDC_ROWS 1004
#define IDC_ENABLED 1005
#define IDC_FIRST 1006
#define IDC_SECOND 1007
#define IDC_NOTES 1008
#define IDC_INFO 1009
#define IDC_ADD 1010
#define IDC_OPEN 1011
#define ID_RESET 2001
