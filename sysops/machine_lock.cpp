#include "sysops/machine_lock.h"

#include <windows.h>

MachineLock::~MachineLock()
{
    if (m_mutex)
        CloseHandle(m_mutex);
}

MachineLock::Taking MachineLock::Take(const std::string& name)
{
    std::string global = "Global\\" + name;
    for (std::size_t i = 7; i < global.size(); ++i) {
        if (global[i] == '\\')
            global[i] = '_';
    }
    const HANDLE mutex = CreateMutexA(nullptr, TRUE, global.c_str());
    const DWORD error = GetLastError();
    if (!mutex)
        // A mutex of that name that this process may not open belongs to a run of another user.
        return error == ERROR_ACCESS_DENIED ? Taking::HeldElsewhere : Taking::Failed;
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return Taking::HeldElsewhere;
    }
    if (m_mutex)
        CloseHandle(m_mutex);
    m_mutex = mutex;
    return Taking::Taken;
}
