#include "sysops/system_code_page.h"

#include "base/double_byte.h"

#include <windows.h>

namespace {

bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}

void UseSystemCodePage()
{
    SetLeadByteTest(SystemLeadByte);
}
