#pragma once
// <windows.h> without the A/W macros that would rename the platform
// interfaces' methods (SendMessage, DrawText, ...). Backend code calls the A
// functions by their full names.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <objbase.h>

#undef CreateWindow
#undef DrawText
#undef GetClassName
#undef GetWindowText
#undef MessageBox
#undef PostMessage
#undef RegisterWindowMessage
#undef SendMessage
#undef SetWindowText
