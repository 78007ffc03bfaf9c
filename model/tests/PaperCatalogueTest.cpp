// The built-in layout catalogue against the layouts as published, transcribed here on their
// own (first: id, shape, rows x columns, item size, inset, margin, spacing, paper, preview,
// template, flags; second: id, row offsets, column offsets, angles and shifts).
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "model/tests/PaperTestUtil.h"

namespace {

const char kLayoutTable[] = R"(
10 | 0 | 2 x 5 | 3.7007 x 1.9291 | 0.0787 | 0.315, 0.7283 | 0.2362, 0.1968 | 10 | 916 | 0 | MF
9 | 2 | 1 x 1 | 7.6378 x 7.6378 | 0.0787 | 0, 1.2188 | 0, 0 | 10 | 917 | 0 | F
4 | 1 | 1 x 1 | 7.6378 x 7.6378 | 0.0787 | 0, 1.2188 | 0, 0 | 10 | 918 | 0 | F
12 | 1 | 1 x 2 | 5.1575 x 5.1575 | 0.0787 | 0, 0.7283 | 0, 0 | 10 | 933 | 0 | MF
13 | 0 | 1 x 2 | 7.6378 x 4.6457 | 0.0787 | 0.3346, 0.9843 | 0, 0.8268 | 10 | 934 | 0 | MF
14 | 0 | 3 x 1 | 2.5197 x 10 | 0.0787 | 0, 0.7874 | 0, 0.0787 | 10 | 935 | 0 | MF
5 | 1 | 3 x 5 | 2.1259 x 2.1259 | 0.0787 | 0.5669, 0.5905 | 0.4331, 0 | 10 | 919 | 0 | MF
20 | 2 | 3 x 5 | 2.1259 x 2.1259 | 0.0787 | 0.5669, 0.5905 | 0.4331, 0 | 10 | 952 | 0 | MF
21 | 2 | 3 x 5 | 2.1259 x 2.1259 | 0.0787 | 0.5669, 0.5905 | 0.4331, 0 | 10 | 956 | 955 | MF
7 | 1 | 5 x 6 | 1.5748 x 1.5748 | 0.0394 | 0.1968, 0.7873 | 0, 0.0787 | 10 | 932 | 0 | MF
6 | 1 | 4 x 5 | 1.9291 x 1.9291 | 0.0787 | 0.2362, 0.7873 | 0, 0.5 | 10 | 950 | 0 | MF
8 | 1 | 2 x 3 | 3.307 x 3.307 | 0.0787 | 0.4448, 0.7874 | 0.5511, 0.0393 | 10 | 921 | 0 | MF
2 | 0 | 1 x 1 | 7.9527 x 10.9054 | 0.1181 | 0, 0 | 0, 0 | 10 | 925 | 0 | F
3 | 0 | 1 x 1 | 11.0629 x 8.1102 | 0.1969 | 0, 0 | 0, 0 | 11 | 926 | 0 | F
18 | 0 | 1 x 1 | 10.9055 x 14.685 | 0 | 0, 0 | 0, 0 | 12 | 925 | 0 | -
19 | 0 | 1 x 1 | 14.685 x 10.9055 | 0 | 0, 0 | 0, 0 | 13 | 926 | 0 | -
15 | 0 | 1 x 1 | 7.6377 x 10 | 0.0787 | 0, 0 | 0, 0 | 10 | 925 | 0 | F
17 | 0 | 1 x 1 | 10 x 7.6377 | 0.0787 | 0, 0 | 0, 0 | 11 | 926 | 0 | F
312 | 0 | 1 x 1 | - | 0 | 0, 0 | 0, 0 | - | 434 | 0 | C
313 | 1 | 1 x 1 | - | 0 | 0, 0 | 0, 0 | - | 433 | 0 | C
314 | 2 | 1 x 1 | - | 0 | 0, 0 | 0, 0 | - | 436 | 0 | C
315 | 3 | 1 x 1 | - | 0 | 0, 0 | 0, 0 | - | 435 | 0 | C
391 | 0 | 1 x 1 | 4.4 x 9.93 | 0 | 0, 0 | 0, 0 | 6 | 737 | 0 | SLT
394 | 0 | 1 x 1 | 7.76 x 11.19 | 0 | 0, 0 | 0, 0 | 7 | 861 | 0 | SLT
392 | 0 | 1 x 1 | 7.6 x 7.6 | 0 | 0, 1.2188 | 0, 0 | 7 | 852 | 0 | SLT
393 | 1 | 1 x 1 | 7.6 x 7.6 | 0 | 0, 1.2188 | 0, 0 | 7 | 853 | 0 | SLT
385 | 2 | 2 x 6 | 1.6929 x 1.4173 | 0 | 0.5118, 0.2362 | 0.5118, 0.2756 | 6 | 843 | 842 | MSLT
401 | 2 | 4 x 6 | 1.6929 x 1.4173 | 0 | 0.5118, 0.9449 | 0.1457, 0.2756 | 7 | 854 | 842 | MSLT
386 | 2 | 2 x 5 | 1.9291 x 1.7323 | 0 | 0.3937, 0.4331 | 0.2362, 0.2362 | 6 | 845 | 844 | MSLT
402 | 2 | 3 x 6 | 1.9094 x 1.6929 | 0 | 1.1929, 0.4488 | 0.1575, 0.1575 | 7 | 855 | 844 | MSLT
387 | 2 | 3 x 4 | 1.1417 x 2.126 | 0 | 0.5512, 0.4331 | 0.1969, 0.3543 | 6 | 847 | 846 | MSLT
403 | 2 | 6 x 4 | 1.1417 x 2.126 | 0 | 0.2677, 1.059 | 0.1811, 0.3543 | 7 | 857 | 846 | MSLT
388 | 1 | 2 x 4 | 2.126 x 2.126 | 0 | 0.2362, 0.2362 | 0.1969, 0.4724 | 6 | 848 | 0 | MSLT
404 | 1 | 3 x 5 | 2.126 x 2.126 | 0 | 0.748, 0.2559 | 0.1969, 0.1378 | 7 | 858 | 0 | MSLT
389 | 1 | 2 x 7 | 1.7323 x 1.1417 | 0 | 0.5118, 0.748 | 0.4331, 0.1575 | 6 | 849 | 0 | MSLT
405 | 1 | 4 x 8 | 1.7323 x 1.1417 | 0 | 0.4331, 0.7283 | 0.1575, 0.1575 | 7 | 859 | 0 | MSLT
390 | 2 | 1 x 4 | 3.7008 x 2.3228 | 0 | 0.6299, 0.2756 | 0, 0.1969 | 6 | 850 | 0 | MSLT
406 | 2 | 2 x 4 | 3.7008 x 2.3228 | 0 | 0.2362, 0.9252 | 0.3937, 0.185 | 7 | 860 | 0 | MSLT
407 | 0 | 3 x 8 | 2.126 x 0.9449 | 0 | 0.4331, 0.8268 | 0.5118, 0.3543 | 7 | 864 | 0 | MSLT
408 | 1 | 4 x 5 | 1.7323 x 1.7323 | 0 | 0, 0 | 0.1575, 0.3937 | 7 | 863 | 0 | MSLT
409 | 0 | 4 x 5 | 1.7323 x 1.7323 | 0 | 0, 0 | 0.1575, 0.3937 | 7 | 862 | 0 | MSLT
420 | 2 | 5 x 8 | 1.062 x 1.062 | 0 | 0.2362, 0.2362 | 0.1969, 0.4724 | 7 | 875 | 0 | MSLT
421 | 1 | 5 x 7 | 1.2598 x 1.2598 | 0 | 0.2362, 0.2362 | 0.1969, 0.4724 | 7 | 872 | 0 | MSLT
422 | 0 | 2 x 11 | 2.2441 x 0.6693 | 0 | 0.2362, 0.2362 | 0.1969, 0.4724 | 7 | 873 | 0 | MSLT
272 | 0 | 3 x 8 | 1.9685 x 0.7874 | 0 | 0, 0 | 1.559, 2.0748 | 7 | 864 | 0 | MST
271 | 1 | 4 x 5 | 1.6535 x 1.6535 | 0 | 0, 0 | 1.559, 2.0748 | 7 | 863 | 0 | MST
270 | 0 | 4 x 5 | 1.6535 x 1.6535 | 0 | 0, 0 | 1.559, 2.0748 | 7 | 862 | 0 | MST
163 | 1 | 2 x 3 | 2.4409 x 2.4409 | 0 | 0, 0 | 1.559, 2.0748 | 9 | 746 | 0 | MSTK
165 | 0 | 4 x 5 | 1.4173 x 1.1417 | 0 | 0, 0 | 1.559, 2.0748 | 9 | 754 | 744 | MST
164 | 0 | 3 x 4 | 1.6535 x 1.6535 | 0 | 0, 0 | 1.559, 2.0748 | 9 | 868 | 0 | MST
166 | 0 | 2 x 3 | 2.5197 x 2.5197 | 0 | 0, 0 | 1.559, 2.0748 | 9 | 870 | 869 | MSTK
167 | 0 | 4 x 6 | 1.1811 x 1.1811 | 0 | 0, 0 | 1.559, 2.0748 | 9 | 877 | 0 | MST
168 | 0 | 2 x 2 | 4.1732 x 2.0079 | 0 | 0, 0 | 0.315, 1.9291 | 9 | 851 | 0 | MST
72 | 2 | 3 x 6 | 1.4567 x 1.0236 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 947 | 946 | MST
70 | 1 | 3 x 6 | 1.2205 x 1.2205 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 756 | 0 | MST
68 | 2 | 2 x 8 | 1.5748 x 1.063 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 941 | 940 | MST
67 | 2 | 3 x 6 | 1.2767 x 1.1937 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 949 | 948 | MSAT
66 | 0 | 1 x 10 | 3.1496 x 0.5118 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 867 | 0 | MST
65 | 2 | 2 x 7 | 1.9291 x 1.2205 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 939 | 938 | MST
64 | 2 | 2 x 5 | 1.5748 x 1.8504 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 943 | 942 | MST
63 | 2 | 2 x 6 | 1.4257 x 1.8617 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 897 | 896 | MST
62 | 2 | 1 x 2 | 3.4357 x 3.4357 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 868 | 0 | MST
61 | 2 | 2 x 5 | 1.5748 x 1.4173 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 893 | 895 | MST
60 | 2 | 3 x 4 | 1.6535 x 0.9843 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 851 | 0 | MST
59 | 1 | 2 x 6 | 1.811 x 1.0236 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 753 | 0 | MST
58 | 1 | 4 x 6 | 0.9449 x 0.9449 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 756 | 0 | MST
57 | 0 | 3 x 4 | 2.0866 x 0.7874 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 888 | 886 | MST
55 | 0 | 4 x 6 | 0.9843 x 1.063 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 879 | 882 | MST
54 | 0 | 1 x 4 | 4.2913 x 1.1811 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 883 | 0 | MST
53 | 0 | 1 x 4 | 4.5669 x 1.1024 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 884 | 0 | MST
52 | 0 | 2 x 7 | 1.7716 x 1.0236 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 878 | 885 | MST
51 | 1 | 4 x 6 | 0.7283 x 0.7283 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 756 | 0 | MST
50 | 2 | 3 x 6 | 0.9843 x 0.9843 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 868 | 0 | MST
49 | 2 | 3 x 5 | 1.1417 x 1.1417 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 868 | 0 | MST
48 | 2 | 3 x 5 | 1.1811 x 1.1811 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 868 | 0 | MST
47 | 1 | 3 x 6 | 1.37 x 1.37 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 756 | 0 | MST
46 | 0 | 2 x 2 | 3.3858 x 2.2047 | 0 | 0, 0 | 0.315, 1.9291 | 6 | 851 | 0 | MST
45 | 2 | 3 x 6 | 0.9449 x 1.3779 | 0 | 0, 0 | 0.4, 0.866 | 6 | 777 | 776 | MSAT
43 | 2 | 3 x 6 | 1.2992 x 1.2205 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 752 | 751 | MST
39 | 2 | 3 x 6 | 1.2598 x 0.9843 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 749 | 0 | MST
38 | 2 | 4 x 4 | 1.811 x 0.4724 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 867 | 0 | MST
37 | 2 | 3 x 6 | 1.5669 x 1.1181 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 759 | 760 | MSTP
36 | 1 | 3 x 6 | 0.8937 x 0.8937 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 755 | 0 | MST
35 | 2 | 3 x 6 | 1.4173 x 1.4173 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 757 | 0 | MST
34 | 3 | 3 x 6 | 1.3779 x 0.8898 | 0 | 0, 0 | 0.4527, 0.7638 | 6 | 753 | 0 | MST
33 | 1 | 3 x 5 | 1.2598 x 1.2598 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 756 | 0 | MST
32 | 1 | 2 x 5 | 2 x 2 | 0 | 0, 0 | 0.374, 0.1457 | 6 | 746 | 0 | MST
31 | 2 | 4 x 6 | 0.9449 x 0.9449 | 0 | 0, 0 | 0.4016, 0.8071 | 6 | 747 | 0 | MST
30 | 0 | 3 x 5 | 1.4488 x 1.173 | 0 | 0, 0 | 1.173, 1.4488 | 6 | 754 | 744 | MST
28 | 0 | 1 x 1 | 6 x 9.93 | 0 | 0, 0 | 0, 0 | 9 | 871 | 0 | MST
27 | 0 | 1 x 1 | 7.7677 x 11.19 | 0 | 0, 0 | 0, 0 | 7 | 871 | 0 | MST
26 | 0 | 1 x 1 | 4.4 x 9.93 | 0 | 0, 0 | 0, 0 | 6 | 737 | 0 | ST
)";

const char kPositionTable[] = R"(
10 | 0.374, 4.3307 | 0.5315, 2.6575, 4.7835, 6.9094, 9.0354 | -
9 | 0.3543 | 2.0866 | -
4 | 0.3144 | 1.8896 | -
12 | 1.6142 | 0.6102, 5.7677 | -
13 | 0.3346 | 0.9843, 6.4961 | -
14 | 0.315, 2.9134, 5.5118 | 0.9055 | -
5 | 0.5118, 3.0709, 5.6299 | 0.6299, 2.7559, 4.8819, 7.0079, 9.1339 | -
20 | 0.4331, 2.9921, 5.5511 | 0.6693, 2.7953, 4.9212, 7.0472, 9.1732 | -
21 | 0.5118, 3.0709, 5.6299 | 0.6299, 2.7559, 4.8819, 7.0079, 9.1339 | -
7 | 0.1969, 1.7717, 3.3465, 4.9213, 6.4961 | 0.7874, 2.5197, 4.252, 5.9843, 7.7165, 9.4488 | -
6 | 0.1575, 2.1654, 4.1732, 6.1811 | 0.7087, 2.7165, 4.7244, 6.7323, 8.7402 | -
8 | 0.5708, 4.5078 | 0.9252, 4.2716, 7.6181 | -
2 | 0.1574 | 0.6299 | -
3 | 0.5511 | 0.0786 | -
18 | 0.3937 | 0.8661 | -
19 | 0.8661 | 0.3937 | -
15 | 0.3149 | 0.9054 | -
17 | 0.9054 | 0.3149 | -
312 | 0.2756 | 0.8661 | -
313 | 0.2756 | 0.8661 | -
314 | 0.2756 | 0.8661 | -
315 | 0.2756 | 0.8661 | -
391 | 0.25 | 0.25 | -
394 | 0.25 | 0.25 | -
392 | 0.3688 | 1.7188 | -
393 | 0.3688 | 1.7188 | -
385 | 0.5118, 2.7165 | 0.2362, 1.9685, 3.6614, 5.3543, 7.0866, 8.7795 | -
401 | 0.5315, 2.3701, 4.2087, 6.0472 | 0.8661, 2.5748, 4.2835, 5.9921, 7.7008, 9.4094 | -
386 | 0.3937, 2.5591 | 0.4331, 2.4016, 4.3701, 6.3386, 8.3071 | -
402 | 1.1142, 3.1811, 5.248 | 0.3701, 2.2205, 4.0708, 5.9212, 7.7716, 9.622 | -
387 | 0.5512, 1.8898, 3.2283 | 0.4331, 2.9134, 5.3937, 7.874 | -
403 | 0.2677, 1.5905, 2.9134, 4.2362, 5.559, 6.8819 | 1.059, 3.5394, 6.0197, 8.5 | -
388 | 0.2362, 2.5591 | 0.2362, 2.8346, 5.4331, 8.0315 | -
404 | 0.748, 3.0709, 5.3937 | 0.2559, 2.5197, 4.7835, 7.0472, 9.311 | -
389 | 0.5118, 2.6772 | 0.748, 2.0472, 3.3465, 4.6457, 5.9449, 7.2441, 8.5433 | -
405 | 0.4331, 2.3228, 4.2126, 6.1024 | 0.7283, 2.0275, 3.3268, 4.626, 5.9252, 7.2244, 8.5236, 9.8228 | -
390 | 0.6299 | 0.2756, 2.7953, 5.315, 7.8346 | -
406 | 0.2362, 4.3307 | 0.9252, 3.433, 5.9409, 8.4488 | -
407 | 0.4331, 3.0709, 5.7087 | 0.8268, 2.126, 3.4252, 4.7244, 6.0236, 7.3228, 8.622, 9.9213 | -
408 | 0.4331, 2.3228, 4.2126, 6.1024 | 0.7283, 2.8346, 4.9606, 7.0866, 9.2126 | -
409 | 0.4331, 2.3228, 4.2126, 6.1024 | 0.7283, 2.8346, 4.9606, 7.0866, 9.2126 | -
420 | 0.5511, 1.9291, 3.2874, 4.685, 6.0629 | 0.3701, 1.7126, 3.0866, 4.4685, 5.8504, 7.2283, 8.6063, 9.9843 | -
421 | 0.3661, 1.7381, 3.1102, 4.4822, 5.8543 | 0.7087, 2.174, 3.6394, 5.1047, 6.5701, 8.0354, 9.5008 | -
422 | 1.0354, 4.3307 | 0.5217, 1.5, 2.4783, 3.4566, 4.4349, 5.4132, 6.3915, 7.3698, 8.3481, 9.3264, 10.3047 | -
272 | 0.748, 3.1102, 5.4331 | 1.1417, 2.2835, 3.4646, 4.6063, 5.7874, 6.9685, 8.1102, 9.2913 | -
271 | 0.3543, 2.3228, 4.2913, 6.2598 | 0.9449, 2.9134, 4.8819, 6.8504, 8.8189 | -
270 | 0.4724, 2.4409, 4.3701, 6.2992 | 1.1417, 3.1102, 5, 6.9291, 8.8583 | -
163 | 0.3937, 3.6614 | 0.4331, 3.9764, 7.4803 | row angles 270, 90; row shifts 0, 1.7716
165 | 0.1338, 1.7322, 3.3307, 4.9291 | 0.4764, 2.5118, 4.5866, 6.6614, 8.6968 | row angles 90, 90, 90, 90
164 | 0.2756, 2.4409, 4.6063 | 0.4724, 3.0709, 5.7087, 8.3071 | -
166 | 0.6693, 3.2677 | 0.3937, 3.967, 7.4709 | row angles 270, 90; row shifts 0, 1.8039
167 | 0.1575, 1.811, 3.5039, 5.1968 | 0.1575, 1.9094, 3.7008, 5.4921, 7.2835, 9.0748 | -
168 | -0.2953, 2.6575 | 1.6339, 6.752 | row angles 90, 90
72 | 0.1181, 1.7323, 3.3465 | 0.8268, 2.3228, 3.8189, 5.6299, 7.126, 8.622 | -
70 | 0.3937, 1.8504, 3.3071 | 0.6299, 2.2441, 3.7402, 5.5118, 7.0079, 8.622 | -
68 | 0.5118, 2.6378 | 0.6299, 1.7717, 2.9528, 4.1339, 5.315, 6.5881, 7.7559, 8.937 | -
67 | 0.291, 1.8, 3.3116 | 0.5256, 2.1806, 3.8356, 5.4906, 7.1456, 8.8006 | cell angles by column 180, 180, 180, 0, 0, 0, 180, 180, 180, 0, 0, 0, 180, 180, 180, 0, 0, 0
66 | 0.8268 | 1.0236, 1.811, 2.5984, 3.3858, 4.1732, 5.748, 6.5354, 7.3228, 8.1102, 8.8976 | -
65 | 0.2756, 2.7165 | 0.2362, 1.6929, 3.1496, 4.6063, 6.063, 7.5197, 8.9764 | -
64 | 0.4331, 2.9528 | 0.4724, 2.3622, 4.252, 6.2205, 8.1102 | row angles -90, 90
63 | 0.4406, 2.8986 | 0.2156, 1.8536, 3.4916, 5.0896, 6.7276, 8.3656 | row angles -90, 90
62 | 0.7606 | 0.9506, 6.1386 | -
61 | 0.748, 2.6378 | 0.748, 2.6772, 4.5669, 6.4961, 8.4252 | -
60 | 0.1969, 1.6732, 3.0315 | 1.0827, 3.5236, 5.9646, 8.4055 | row angles 90, 90, 90
59 | 0.4724, 2.5591 | 0.7874, 2.3622, 3.937, 5.5118, 7.0866, 8.6614 | row angles 45, 45
58 | 0.2756, 1.4173, 2.5591, 3.7008 | 0.5906, 2.2047, 3.8976, 5.5512, 7.2047, 8.8583 | -
57 | -0.1969, 1.4567, 3.1102 | 1.2205, 3.6417, 6.0039, 8.3661 | row angles -55, -55, -55
55 | 0.252, 1.4173, 2.5591, 3.7402 | 0.6299, 2.2441, 3.8583, 5.4724, 7.0866, 8.7008 | -
54 | 0.315 | 0.9843, 3.4252, 5.8661, 8.3071 | -
53 | 0.2362 | 0.9843, 3.4252, 5.8661, 8.3071 | -
52 | 0.4331, 2.7559 | 0.315, 1.7716, 3.2283, 4.685, 6.1417, 7.6378, 9.0945 | -
51 | 0.4331, 1.5748, 2.7165, 3.8583 | 0.748, 2.4016, 4.0551, 5.7087, 7.3622, 9.0157 | -
50 | 0.5512, 1.9685, 3.3858 | 0.3937, 2.1259, 3.8583, 5.5905, 7.3228, 9.0551 | -
49 | 0.315, 1.9291, 3.5433 | 0.7087, 2.6772, 4.6457, 6.6142, 8.5827 | -
48 | 0.2598, 1.8701, 3.5039 | 0.689, 2.6575, 4.626, 6.5945, 8.563 | -
47 | 0.1575, 1.7716, 3.3858 | 0.315, 2.0866, 3.6614, 5.3937, 6.9685, 8.7402 | -
46 | -0.4724, 1.9685 | 1.5748, 6.7716 | row angles 90, 90
45 | 0.3937, 2.0079, 3.622 | 0.1969, 1.9291, 3.6614, 5.3937, 7.0866, 8.8189 | cell angles by column 59, 59, 59, 59, 59, 59, 59, 59, 59, 121, 121, 121, 121, 121, 121, 121, 121, 121
43 | 0.2559, 1.8701, 3.4842 | 0.2952, 1.9882, 3.7204, 5.4527, 7.185, 8.8779 | row angles 90, 270, 270
39 | 0.2362, 1.8504, 3.4646 | 0.374, 2.1062, 3.8386, 5.5708, 7.3031, 9.0354 | row angles 45, 45, 45
38 | -0.0394, 1.1023, 1.9685, 3.1102 | 1.2992, 3.7795, 6.2205, 8.7008 | row angles 90, 90, 90, 90
37 | 0.0394, 1.7126, 3.3858 | 0.5354, 2.1693, 3.8425, 5.496, 7.1496, 8.8031 | -
36 | 0.3996, 1.9941, 3.5886 | 0.4193, 2.1516, 3.8838, 5.6161, 7.3484, 9.0807 | -
35 | 0.2716, 1.7677, 3.2638 | 0.3543, 2.0315, 3.6614, 5.3149, 6.9685, 8.622 | -
34 | 0.2953, 1.7913, 3.2874 | 0.4212, 2.1141, 3.807, 5.7677, 7.4882, 9.2008 | row angles 90, 90, 90
33 | 0.3345, 1.8306, 3.3267 | 1.1063, 2.8661, 4.626, 6.3858, 8.1457 | -
32 | 0.315, 2.6378 | 0.0787, 2.1181, 4.1929, 6.2677, 8.3425 | -
31 | 0.1575, 1.3504, 2.5708, 3.7913 | 0.7972, 2.4311, 4.0649, 5.4035, 7.0374, 8.6713 | -
30 | 0.2303, 1.7953, 3.3602 | 0.5151, 2.582, 4.669, 6.7159, 8.7828 | row angles 90, 90, 90
28 | 0.25 | 0.25 | -
27 | 0.25 | 0.25 | -
26 | 0.25 | 0.25 | -
)";

std::string Trim(const std::string& s)
{
    const size_t b = s.find_first_not_of(' ');
    const size_t e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::vector<std::string> Split(const std::string& s, char delimiter)
{
    std::vector<std::string> out;
    std::stringstream in(s);
    std::string piece;
    while (std::getline(in, piece, delimiter))
        out.push_back(Trim(piece));
    return out;
}

std::vector<float> Floats(const std::string& s)
{
    std::vector<float> out;
    for (const std::string& p : Split(s, ','))
        out.push_back((float)strtod(p.c_str(), NULL));
    return out;
}

std::vector<int> Ints(const std::string& s)
{
    std::vector<int> out;
    for (const std::string& p : Split(s, ','))
        out.push_back(atoi(p.c_str()));
    return out;
}

// "a x b", or "-" for none.
void Pair(const std::string& s, char sep, float* a, float* b)
{
    *a = *b = 0;
    if (s == "-")
        return;
    const size_t at = s.find(sep);
    *a = (float)strtod(s.substr(0, at).c_str(), NULL);
    *b = (float)strtod(s.substr(at + 1).c_str(), NULL);
}

struct Expected
{
    int id, shape, rows, columns, paper, preview, templ;
    float width, height, inset, marginX, marginY, spacingX, spacingY;
    std::string flags;
    std::vector<float> rowOffsets, columnOffsets, rowShifts;
    std::vector<int> rowAngles, cellAngles; // cell angles column by column
};

std::vector<Expected> ReadTables()
{
    std::map<int, Expected> byId;
    std::vector<int> order;
    for (const std::string& line : Split(kLayoutTable, '\n')) {
        if (line.empty())
            continue;
        const std::vector<std::string> c = Split(line, '|');
        EXPECT_EQ(11u, c.size()) << line;
        if (c.size() != 11)
            continue;
        Expected e = {};
        e.id = atoi(c[0].c_str());
        e.shape = atoi(c[1].c_str());
        const size_t x = c[2].find('x');
        e.rows = atoi(c[2].substr(0, x).c_str());
        e.columns = atoi(c[2].substr(x + 1).c_str());
        Pair(c[3], 'x', &e.width, &e.height);
        e.inset = (float)strtod(c[4].c_str(), NULL);
        Pair(c[5], ',', &e.marginX, &e.marginY);
        Pair(c[6], ',', &e.spacingX, &e.spacingY);
        e.paper = c[7] == "-" ? 0 : atoi(c[7].c_str());
        e.preview = atoi(c[8].c_str());
        e.templ = atoi(c[9].c_str());
        e.flags = c[10] == "-" ? "" : c[10];
        byId[e.id] = e;
        order.push_back(e.id);
    }
    for (const std::string& line : Split(kPositionTable, '\n')) {
        if (line.empty())
            continue;
        const std::vector<std::string> c = Split(line, '|');
        EXPECT_EQ(4u, c.size()) << line;
        if (c.size() != 4)
            continue;
        const int id = atoi(c[0].c_str());
        EXPECT_EQ(1u, byId.count(id)) << "positions of an unknown layout " << id;
        Expected& e = byId[id];
        e.rowOffsets = Floats(c[1]);
        e.columnOffsets = Floats(c[2]);
        if (c[3] == "-")
            continue;
        for (const std::string& part : Split(c[3], ';')) {
            const std::string kRowAngles = "row angles ", kRowShifts = "row shifts ",
                              kCellAngles = "cell angles by column ";
            if (part.compare(0, kRowAngles.size(), kRowAngles) == 0)
                e.rowAngles = Ints(part.substr(kRowAngles.size()));
            else if (part.compare(0, kRowShifts.size(), kRowShifts) == 0)
                e.rowShifts = Floats(part.substr(kRowShifts.size()));
            else if (part.compare(0, kCellAngles.size(), kCellAngles) == 0)
                e.cellAngles = Ints(part.substr(kCellAngles.size()));
            else
                ADD_FAILURE() << "unreadable positions of layout " << id << ": " << part;
        }
    }
    std::vector<Expected> out;
    for (int id : order)
        out.push_back(byId[id]);
    return out;
}

bool HasFlag(const Expected& e, char letter) { return e.flags.find(letter) != std::string::npos; }

class LayoutCatalogue : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { FillPaperCatalogues(); }
};

TEST_F(LayoutCatalogue, EveryRecordMatchesTheTables)
{
    const std::vector<Expected> table = ReadTables();
    ASSERT_EQ(92u, table.size());
    EXPECT_EQ(92, GetGlobalObjectA()->GetCount());
    for (const Expected& e : table) {
        SCOPED_TRACE(e.id);
        const CPaperLayout* l = GetGlobalObjectA()->Lookup((WORD)e.id);
        ASSERT_TRUE(l != NULL);
        EXPECT_EQ(e.id, l->GetId());
        EXPECT_EQ(e.shape, l->GetShape());
        EXPECT_EQ(e.rows, l->GetRows());
        EXPECT_EQ(e.columns, l->GetColumns());
        EXPECT_EQ(e.width, l->GetItemSize().Width);
        EXPECT_EQ(e.height, l->GetItemSize().Height);
        EXPECT_EQ(e.inset, l->GetInset());
        EXPECT_EQ(e.marginX, l->GetMargin().X);
        EXPECT_EQ(e.marginY, l->GetMargin().Y);
        EXPECT_EQ(e.spacingX, l->GetSpacing().Width);
        EXPECT_EQ(e.spacingY, l->GetSpacing().Height);
        if (e.paper) {
            ASSERT_TRUE(l->GetPaperSize() != NULL);
            EXPECT_EQ(e.paper, l->GetPaperSize()->GetId());
        } else {
            EXPECT_TRUE(l->GetPaperSize() == NULL);
        }
        EXPECT_EQ(e.preview, l->GetPreviewBitmap());
        EXPECT_EQ(e.templ, l->GetTemplateBitmap());
        EXPECT_EQ(HasFlag(e, 'C'), l->IsCustom() != 0);
        EXPECT_EQ(HasFlag(e, 'M'), l->IsMultiple() != 0);
        EXPECT_EQ(HasFlag(e, 'S'), l->IsSeries() != 0);
        EXPECT_EQ(HasFlag(e, 'L'), l->IsListed() != 0);
        EXPECT_EQ(HasFlag(e, 'A'), l->HasCellAngles() != 0);
        EXPECT_EQ(HasFlag(e, 'T'), l->IsSeries2() != 0);
        EXPECT_EQ(HasFlag(e, 'P'), l->HasPrintDialogFlag() != 0);
        EXPECT_EQ(HasFlag(e, 'K'), l->IsSkipLast() != 0);
        EXPECT_EQ(HasFlag(e, 'F'), l->IsA4() != 0);
        EXPECT_EQ(0, l->IsTurned());
        EXPECT_EQ(0, l->IsOneDesignPerCell());
        EXPECT_EQ(0, l->HasCellShifts());
        EXPECT_EQ(0, l->IsNoInset());
        ASSERT_EQ((size_t)e.rows, e.rowOffsets.size());
        ASSERT_EQ((size_t)e.columns, e.columnOffsets.size());
        for (int i = 0; i < e.rows; ++i) {
            EXPECT_EQ(e.rowOffsets[i], l->GetStoredRowOffset(i)) << "row " << i;
            EXPECT_EQ(e.rowAngles.empty() ? 0 : e.rowAngles[i], l->GetRowAngle(i)) << "row " << i;
            EXPECT_EQ(e.rowShifts.empty() ? 0.0f : e.rowShifts[i], l->GetRowShift(i)) << "row " << i;
        }
        for (int j = 0; j < e.columns; ++j)
            EXPECT_EQ(e.columnOffsets[j], l->GetStoredColumnOffset(j)) << "column " << j;
        for (int j = 0; j < e.columns; ++j)
            for (int i = 0; i < e.rows; ++i) {
                const int cell = e.cellAngles.empty() ? 0 : e.cellAngles[j * e.rows + i];
                EXPECT_EQ(cell, l->GetCellAngle(i, j)) << "cell " << i << "," << j;
                EXPECT_EQ(0.0f, l->GetCellShift(i, j)) << "cell " << i << "," << j;
            }
        // Names are keys of the language table.
        EXPECT_FALSE(l->GetName().IsEmpty());
        EXPECT_LE(l->GetName().GetLength(), 13);
    }
    EXPECT_STREQ("IDS_STRING532", GetGlobalObjectA()->Lookup(312)->GetName());
}

TEST_F(LayoutCatalogue, OneA4Sheet)
{
    EXPECT_TRUE(GetGlobalObjectA()->Lookup(1) == NULL);
    const CPaperLayout* l = GetGlobalObjectA()->Lookup(2);
    ASSERT_TRUE(l != NULL);
    EXPECT_EQ(CPaperLayout::kRectangle, l->GetShape());
    EXPECT_EQ(1, l->GetItemCount());
    EXPECT_FLOAT_EQ(7.9527f, l->GetItemSize().Width);
    EXPECT_FLOAT_EQ(10.9054f, l->GetItemSize().Height);
    EXPECT_FLOAT_EQ(0.1181f, l->GetInset());
    EXPECT_FLOAT_EQ(0.1574f, l->GetStoredRowOffset(0));
    EXPECT_FLOAT_EQ(0.6299f, l->GetStoredColumnOffset(0));
    EXPECT_FLOAT_EQ(0.1574f + 0.1181f, l->GetRowOffset(0));
    EXPECT_FLOAT_EQ(0.6299f + 0.1181f, l->GetColumnOffset(0));
    ASSERT_TRUE(l->GetPaperSize() != NULL);
    EXPECT_EQ(10, l->GetPaperSize()->GetId());
    EXPECT_FLOAT_EQ(7.7165f, l->GetPrintableSize().Width);
    EXPECT_FLOAT_EQ(10.6692f, l->GetPrintableSize().Height);
    EXPECT_EQ(771, l->GetPrintableRect().cx);
    EXPECT_EQ(1066, l->GetPrintableRect().cy);
}

TEST_F(LayoutCatalogue, TenRectanglesTruncateToHundredths)
{
    const CPaperLayout* l = GetGlobalObjectA()->Lookup(10);
    ASSERT_TRUE(l != NULL);
    EXPECT_EQ(2, l->GetRows());
    EXPECT_EQ(5, l->GetColumns());
    EXPECT_FLOAT_EQ(3.5433f, l->GetPrintableSize().Width);
    EXPECT_FLOAT_EQ(1.7717f, l->GetPrintableSize().Height);
    EXPECT_EQ(354, l->GetPrintableRect().cx);
    EXPECT_EQ(177, l->GetPrintableRect().cy);
}

TEST_F(LayoutCatalogue, CustomLayoutsHaveNoSizeYet)
{
    for (WORD id = 312; id <= 315; ++id) {
        const CPaperLayout* l = GetGlobalObjectA()->Lookup(id);
        ASSERT_TRUE(l != NULL) << id;
        EXPECT_EQ(1, l->GetItemCount()) << id;
        EXPECT_EQ(0.0f, l->GetItemSize().Width) << id;
        EXPECT_TRUE(l->GetPaperSize() == NULL) << id;
        EXPECT_TRUE(l->IsCustom()) << id;
    }
}

TEST_F(LayoutCatalogue, ItemAnglesAndShifts)
{
    const CPaperLayout* l67 = GetGlobalObjectA()->Lookup(67);
    ASSERT_TRUE(l67 != NULL);
    for (int j = 0; j < 6; ++j)
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(j % 2 == 0 ? 180 : 0, l67->GetItemAngle(i, j)) << i << "," << j;

    const struct
    {
        WORD id;
        float shift;
    } shifted[] = {{163, 1.7716f}, {166, 1.8039f}};
    for (const auto& s : shifted) {
        const CPaperLayout* l = GetGlobalObjectA()->Lookup(s.id);
        ASSERT_TRUE(l != NULL);
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(0.0f, l->GetItemShift(0, j)) << s.id;
            EXPECT_EQ(s.shift, l->GetItemShift(1, j)) << s.id;
        }
        EXPECT_EQ(270, l->GetItemAngle(0, 0));
        EXPECT_EQ(90, l->GetItemAngle(1, 0));
        EXPECT_TRUE(l->IsSkippedCell(1, 2)) << s.id;
        EXPECT_FALSE(l->IsSkippedCell(1, 1)) << s.id;
        EXPECT_FALSE(l->IsSkippedCell(0, 2)) << s.id;
    }
}

TEST_F(LayoutCatalogue, FlagsThatOnlyAFewLayoutsCarry)
{
    CPaperLayoutList* list = GetGlobalObjectA()->GetLayoutList();
    ASSERT_EQ(92, list->GetCount());
    int previous = -1;
    std::vector<int> printDialog, skipLast;
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        const CPaperLayout* l = list->GetNext(pos);
        EXPECT_LT(previous, l->GetId()) << "ascending ids";
        previous = l->GetId();
        if (l->HasPrintDialogFlag())
            printDialog.push_back(l->GetId());
        if (l->IsSkipLast())
            skipLast.push_back(l->GetId());
        // The series flags mark exactly the layouts on the icing and transfer sheets.
        const int paper = l->GetPaperSize() ? l->GetPaperSize()->GetId() : 0;
        const bool sheet = paper == 6 || paper == 7 || paper == 9;
        EXPECT_EQ(sheet, l->IsSeries() != 0) << l->GetId();
        EXPECT_EQ(sheet, l->IsSeries2() != 0) << l->GetId();
    }
    delete list;
    EXPECT_EQ(std::vector<int>({37}), printDialog);
    EXPECT_EQ(std::vector<int>({163, 166}), skipLast);
}

} // namespace
