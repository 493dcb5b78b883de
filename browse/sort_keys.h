#pragma once
// What the item list can be sorted by; platform-free (no <windows.h>). The
// values are the background menu's order, which the folder view's first four
// columns follow.
enum class SortKey { Name = 1, Size, Type, Time };
