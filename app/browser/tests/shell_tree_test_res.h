// Resource ids of the shell folder tree's tests (shell_tree_tests.rc), apart from the program's own.
#pragma once

#define IDD_T_SHELLTREE 29200
#define IDC_T_SHELLTREE 29201
