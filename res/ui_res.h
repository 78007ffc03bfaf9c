// Resource ids of the skinned toolkit: its small dialogs and their controls, the skin
// bitmaps of the buttons, knobs, markers and scroll bars, the help image and the hand cursor.
// Every id has its row in res/assets.csv; the bitmaps are drawn by tools/assets/make_skin.py.
#pragma once

// The message box, "Save Changes" and the progress dialog.
#define IDD_MESSAGE_DLG 137
#define IDD_SAVE_CHANGES_DLG 152
#define IDD_PROGRESS_DLG 1016

#define IDC_PROGRESS_BAR 1003
#define IDC_MESSAGE_TEXT 1010
#define ID_PROGRESS_CANCEL 1016
#define IDC_SAVE_QUESTION 1049
#define IDC_SAVE_NO 1090

// The hand cursor: also loaded by the name "IDC_HAND".
#define IDC_HAND_CURSOR 328

// Skin bitmaps.
#define IDB_FONT_GLYPH 130
#define IDB_SCROLL_LEFT 201
#define IDB_SCROLL_CHANNEL_H 203
#define IDB_SCROLL_THUMB_H_COLOURED 204
#define IDB_SCROLL_THUMB_H 205
#define IDB_SCROLL_UP 206
#define IDB_SCROLL_DOWN 207
#define IDB_SCROLL_THUMB_V 210
#define IDB_SKIN_EFFECTS 534
#define IDB_SKIN_TRASH 535
#define IDB_SKIN_LAYER_UP 536
#define IDB_SKIN_LAYER_DOWN 537
#define IDB_SKIN_FIT 538
#define IDB_SKIN_CENTRE 539
#define IDB_SKIN_SAVE_AS 544
#define IDB_SKIN_TEMPLATE_MODE 545
#define IDB_SKIN_CUSTOM_MODE 546
#define IDB_SCROLL_RIGHT 589
#define IDB_SCROLL_CHANNEL_V 590
#define IDB_SCROLL_THUMB_V_COLOURED 591
#define IDB_SKIN_BACK 596
#define IDB_SKIN_CLOSE 597
#define IDB_SKIN_NEXT 598
#define IDB_SKIN_SOLID 600
#define IDB_SKIN_KNOB_LINEAR 602
#define IDB_SKIN_MARK 603
#define IDB_HELP_IMAGE 610
#define IDB_SKIN_KNOB 614
#define IDB_SKIN_CLEAR 617
#define IDB_SKIN_CUT 618
#define IDB_SKIN_NEW 619
#define IDB_SKIN_CLONE 620
#define IDB_SKIN_MARK_WIZARD 629
#define IDB_SKIN_CROP 631
#define IDB_SKIN_REDEYE 632
#define IDB_SKIN_ICING_SHEET 634
#define IDB_SKIN_SQUARE 636
#define IDB_SKIN_CIRCLE 637
#define IDB_SKIN_RECTANGLE 638
#define IDB_SKIN_OVAL 639
#define IDB_SKIN_ITEM_SIZE 640
#define IDB_SKIN_GAP_Y 641
#define IDB_SKIN_MARGIN_LEFT 642
#define IDB_SKIN_MARGIN_TOP 643
#define IDB_SKIN_GAP_X 644
#define IDB_SKIN_ITEM_HEIGHT 645
#define IDB_SKIN_ITEM_SIZE_SQUARE 646
#define IDB_SKIN_ITEM_WIDTH 647
#define IDB_SKIN_MULTIPLE 648
#define IDB_SKIN_INDIVIDUAL 649
#define IDB_SKIN_ADD_SWATCH 687
#define IDB_SKIN_RADIAL 688
#define IDB_SKIN_REMOVE_SWATCH 708
#define IDB_SKIN_SNAPSHOT 722
#define IDB_SKIN_KNOB_ROTATE 812
#define IDB_SKIN_OVERSIZED 936
