#pragma once

// Makes the path helpers walk texts by the characters of the system's ANSI code page, so
// that a trail byte 0x5C inside a double-byte character is never taken for a backslash.
// Called once at start-up, before the first path is split.
void UseSystemCodePage();
