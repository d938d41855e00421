#pragma once

// Only the host's own files include this header (COM interfaces as C structs).
#include <windows.h>
#include <ole2.h>
#include <oaidl.h>

#include "script/script_host.h"

#include <string>
#include <vector>

// Calls methods of one dispatch interface by name, with integer and string arguments and a
// string result. Holds one reference to the interface while bound.
class DispatchDriver {
public:
    DispatchDriver() = default;
    ~DispatchDriver();
    DispatchDriver(const DispatchDriver&) = delete;
    DispatchDriver& operator=(const DispatchDriver&) = delete;

    // Takes over the caller's reference.
    void Attach(IDispatch* dispatch);
    void Release();
    [[nodiscard]] bool IsBound() const { return m_dispatch != nullptr; }

    // False when the interface does not know the name.
    [[nodiscard]] bool FindName(const std::string& name, DISPID& id) const;
    // Invokes id as a method with the arguments in order; the result converted to a string.
    // The failure of the invocation is returned, with the exception's description, if any.
    [[nodiscard]] HRESULT InvokeMethod(DISPID id, const std::vector<VbsArgument>& arguments, std::string& result,
                                       std::string& description) const;

private:
    IDispatch* m_dispatch = nullptr;
};
