#pragma once
// Text rules for code page 936, platform-free (no <windows.h>). A
// double-byte character's second byte may be any byte from 0x40 up, '\\'
// (0x5C) included, so texts are stepped through character by character.
// Functions that write into a buffer take its capacity in bytes and return
// false, leaving an empty string, when the whole text does not fit.

#include <cstddef>

// True for a byte that starts a double-byte character.
bool IsLeadByte936(unsigned char c);

// Bytes taken by the character at text[0]: 2 for a lead byte followed by
// another byte, else 1.
size_t CharLength936(const char* text);

// The last occurrence of a single-byte character, or null; the second byte
// of a double-byte character never counts.
const char* FindLastCharacter(const char* text, char c);
bool ContainsCharacter(const char* text, char c);

// Copies as much of source as fits, never ending inside a double-byte character.
void CopyTextCut(const char* source, char* out, size_t capacity);

// Copies the whole of source or nothing.
bool CopyText(const char* source, char* out, size_t capacity);

// "%s\%s": an entry's path from its folder and its name.
bool JoinPath(const char* folder, const char* name, char* out, size_t capacity);

// Turns ASCII capital letters into small ones, leaving double-byte characters whole.
void LowerCaseLetters(char* text);
