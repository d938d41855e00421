#pragma once

// Texts are 8-bit strings in the system's ANSI code page. In a double-byte code page
// (Japanese 932, for one) the trail byte of a character can be 0x5C, the backslash, or an
// ASCII letter, so every search for a separator and every letter fold walks the text character
// by character instead of byte by byte.

// Tells whether a byte begins a double-byte character in the current ANSI code page.
// The Windows build installs IsDBCSLeadByte; natively no byte is a lead byte until a test
// installs its own table.
using LeadByteTest = bool (*)(unsigned char byte);
void SetLeadByteTest(LeadByteTest test);
[[nodiscard]] bool IsLeadByte(unsigned char byte);
