// Resource ids of the window layer's tests.
#pragma once
#define IDR_TEST_SHELL 300
#define IDD_TEST_CONTROLS 200
#define IDD_TEST_CHILD 201
#define IDD_TEST_OUTER 202
#define IDD_TEST_NEST 203
#define IDD_TEST_MISSING 299
#define IDC_TEST_EDIT 1001
#define IDC_TEST_BUTTON 1002
#define IDC_TEST_CHECK 1003
#define IDC_TEST_COMBO 1004
#define IDC_TEST_NUMBER 1005
#define IDC_TEST_CHILD_EDIT 1101
#define IDC_TEST_PLACE 1102
