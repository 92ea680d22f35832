#pragma once
// Work the program does beside the window, on threads of its own.

// Lowers the calling thread's scheduling priority (nice 10), so that on a
// busy or small machine the window's thread still answers input at once
// while this one reads or looks through a whole list.
void GiveWayToTheWindow();
