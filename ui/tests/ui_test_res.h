// Resource ids of the ui tests (ui_tests.rc), apart from the program's own.
#pragma once

#define IDB_TEST_BUBBLE 28450
#define ID_TEST_FIRST 28460
#define ID_TEST_SECOND 28461
#define IDD_TEST_TIPS 28470
#define IDC_TEST_BUTTON 1001
#define IDC_TEST_EDIT 1002
