#include "sysops/system_code_page.h"

#include "app/path_text.h"

#include <windows.h>

namespace {

bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}

void UseSystemCodePage()
{
    SetLeadByteTest(SystemLeadByte);
}
