#pragma once

// Resource numbers of the Windows program (shared by the resource script and the code).

#define IDI_TONVALE 1 // the window icon, 16 x 16 and 32 x 32
#define IDB_LOGO 101 // the 280 x 36 logo picture of Image1
#define IDC_POINTER 102 // the pointing hand over Image1 and Label11, 32 x 32, hot spot (12, 1)
