// Resource ids of the paper layouts: the item outline templates, one cell of the layout
// each, black where the design shows through.
#pragma once
#define IDB_TEMPLATE_744 744
#define IDB_TEMPLATE_751 751
#define IDB_TEMPLATE_760 760
#define IDB_TEMPLATE_776 776
#define IDB_TEMPLATE_842 842
#define IDB_TEMPLATE_844 844
#define IDB_TEMPLATE_846 846
#define IDB_TEMPLATE_869 869
#define IDB_TEMPLATE_882 882
#define IDB_TEMPLATE_885 885
#define IDB_TEMPLATE_886 886
#define IDB_TEMPLATE_895 895
#define IDB_TEMPLATE_896 896
#define IDB_TEMPLATE_938 938
#define IDB_TEMPLATE_940 940
#define IDB_TEMPLATE_942 942
#define IDB_TEMPLATE_946 946
#define IDB_TEMPLATE_948 948
#define IDB_TEMPLATE_955 955
