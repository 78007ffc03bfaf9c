// Resource ids of the help topic window: its template, menu and commands, its icon and the
// program's help topic. Every id has its row in res/assets.csv.
#pragma once

#define IDD_HELP_TOPIC 129
#define IDR_HELP_TOPIC_MENU 134
#define IDI_HELP_TOPIC 393
// The help topic of the program, RTF text of type "RTF".
#define IDR_HELP_TOPIC_DESIGN 394

// The commands of the topic's menu.
#define ID_HELP_EXIT 1
#define ID_HELP_PRINT_TOPIC 32773
#define ID_HELP_ON_TOP 32891
#define ID_HELP_NOT_ON_TOP 32892
#define ID_HELP_COPY_ALL 57634
