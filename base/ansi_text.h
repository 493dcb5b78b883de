#pragma once
// Text rules for the ANSI code page the program runs under, platform-free
// (no <windows.h>). In a double-byte code page such as 936 a character's
// second byte may be any byte from 0x40 up, '\\' (0x5C) and '|' included, so
// texts are stepped through character by character. Which bytes start a
// character of two is chosen once at start-up, before any other thread runs;
// until then, and in the native tests, the code page is 936.
// Functions that write into a buffer take its capacity in bytes and return
// false, leaving an empty string, when the whole text does not fit.

#include <cstddef>

using LeadBytePredicate = bool (*)(unsigned char c);

// Code page 65001 steps through whole UTF-8 sequences; any other code page
// takes its lead bytes from the predicate (IsDBCSLeadByte on Windows; one
// that is never true for a code page of single bytes such as 1252).
void UseCodePage(unsigned codePage, LeadBytePredicate isLeadByte);

// Bytes taken by the character at text[0]. A lead byte counts as a character
// of its own when the next byte can't end one: no second byte lies below
// 0x40, so '?', '*', '.', ' ', ':' and the NUL are never taken for one.
size_t CharLength(const char* text);

// The last occurrence of a single-byte character, or null; the second byte
// of a double-byte character never counts.
const char* FindLastCharacter(const char* text, char c);
bool ContainsCharacter(const char* text, char c);

// Copies as much of source as fits, never ending inside a character.
void CopyTextCut(const char* source, char* out, size_t capacity);

// Copies the whole of source or nothing.
bool CopyText(const char* source, char* out, size_t capacity);

// "%s\%s": an entry's path from its folder and its name.
bool JoinPath(const char* folder, const char* name, char* out, size_t capacity);

