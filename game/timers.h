// Zobu 4: the timers of the main window, all with a timer procedure.
#pragma once

#define TIMER_POT_STEP 1
#define TIMER_STEER 2
#define TIMER_ACCELERATE 3
#define TIMER_FALL 4
