#include "base/double_byte.h"

namespace {

bool NoLeadBytes(unsigned char) { return false; }

LeadByteTest g_leadByteTest = NoLeadBytes;

}

void SetLeadByteTest(LeadByteTest test) { g_leadByteTest = test ? test : NoLeadBytes; }

bool IsLeadByte(unsigned char byte) { return g_leadByteTest(byte); }
