// Resource ids of the image layer panel and the image edit dialog's templates. Every id
// has its row in res/assets.csv.
#pragma once

#define IDD_IMAGE_LOAD_PAGE 30768
#define IDD_IMAGE_LAYER 30769
// The image edit dialog's three forms: effects, red-eye removal, cropping.
#define IDD_IMAGE_EDIT_EFFECTS 30773
#define IDD_IMAGE_EDIT_REDEYE 247
#define IDD_IMAGE_EDIT_CROP 621

#define IDC_IMAGE_PAGES 1187
#define IDC_IMAGE_FIT 1014
#define IDC_IMAGE_CENTRE 1013
#define IDC_IMAGE_UP 1017
#define IDC_IMAGE_DOWN 1018
#define IDC_IMAGE_REMOVE 1008
#define IDC_IMAGE_EFFECTS 1030
#define IDC_IMAGE_REDEYE 1010
#define IDC_IMAGE_CROP 1090
#define IDC_IMAGE_ROTATION 1073
#define IDC_IMAGE_SIZE_PLACE 1107
#define IDC_IMAGE_TRANS_PLACE 1113
#define IDC_IMAGE_SIZE_VALUE 1191
#define IDC_IMAGE_TRANS_VALUE 1193
#define IDC_IMAGE_DPI 1253
#define IDC_IMAGE_ANGLE_LABEL 1277
#define IDC_IMAGE_SIZE_LABEL 1278
#define IDC_IMAGE_TRANS_LABEL 1279
#define IDC_IMAGE_LOOK_LABEL 1280
#define IDC_IMAGE_LAYOUT_LABEL 1281
#define IDC_IMAGE_LAYERING_LABEL 1282
// The bars made over their places.
#define IDC_IMAGE_SIZE 101
#define IDC_IMAGE_TRANS 102
