#pragma once
// The rows of the item list: the record one row is made from, and reading
// rows back.
#include <windows.h>

#include <functional>

// The texts of one row, zero-filled before it is filled.
struct ItemRecord {
    char name[MAX_PATH];
    char type[50];
    char size[30];
    char time[40];
    char freeSpace[30];
    char fileSystem[10];
    char drive;  // drive rows: the drive's letter, kept as the row's item data
};

// One column's text of a row, always terminated, at most capacity - 1 bytes.
void ReadRowText(HWND list, int row, int column, char* text, int capacity);

// The row single-row commands act on, or -1.
int SelectionMark(HWND list);

// Visits the selected rows in list order with each row's column-0 text
// (MAX_PATH bytes at most); the visitor returns false to stop.
void ForEachSelectedRow(HWND list, const std::function<bool(int row, const char* text)>& visit);
