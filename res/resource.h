// Zobu 4: identifiers of the program's resources, commands and controls.
#pragma once

#define IDR_ACCEL 102
#define IDD_SCORE 103
#define IDB_SCORE_SKIN 104

#define IDC_SCORE 1000

#define ID_MOVE_LEFT 40001
#define ID_MOVE_RIGHT 40002
#define ID_QUIT 40003
#define ID_DROP 40004
