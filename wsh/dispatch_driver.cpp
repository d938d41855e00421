#include "wsh/dispatch_driver.h"

#include "wsh/wide_text.h"

#include <oleauto.h>

namespace {

// Names are looked up in the system's default locale.
constexpr LCID kLookupLocale = 0x0800;

// Arguments of one invocation; the strings are freed with the list.
class VariantArguments {
public:
    // Invoke takes its arguments last first.
    explicit VariantArguments(const std::vector<VbsArgument>& arguments) : m_values(arguments.size())
    {
        for (std::size_t index = 0; index < arguments.size(); ++index) {
            VARIANT& value = m_values[arguments.size() - 1 - index];
            VariantInit(&value);
            if (arguments[index].isString) {
                V_VT(&value) = VT_BSTR;
                V_BSTR(&value) = SysAllocString(WideFromAnsi(arguments[index].text).c_str());
            } else {
                V_VT(&value) = VT_I4;
                V_I4(&value) = arguments[index].number;
            }
        }
    }
    ~VariantArguments()
    {
        for (VARIANT& value : m_values)
            VariantClear(&value);
    }
    VariantArguments(const VariantArguments&) = delete;
    VariantArguments& operator=(const VariantArguments&) = delete;

    [[nodiscard]] VARIANT* Data() { return m_values.empty() ? nullptr : m_values.data(); }
    [[nodiscard]] UINT Count() const { return static_cast<UINT>(m_values.size()); }

private:
    std::vector<VARIANT> m_values;
};

}

DispatchDriver::~DispatchDriver() { Release(); }

void DispatchDriver::Attach(IDispatch* dispatch)
{
    Release();
    m_dispatch = dispatch;
}

void DispatchDriver::Release()
{
    if (m_dispatch)
        IDispatch_Release(m_dispatch);
    m_dispatch = nullptr;
}

bool DispatchDriver::FindName(const std::string& name, DISPID& id) const
{
    std::wstring wide = WideFromAnsi(name);
    if (!m_dispatch || wide.empty())
        return false;
    LPOLESTR names[] = {&wide[0]};
    return SUCCEEDED(IDispatch_GetIDsOfNames(m_dispatch, IID_NULL, names, 1, kLookupLocale, &id));
}

HRESULT DispatchDriver::InvokeMethod(DISPID id, const std::vector<VbsArgument>& arguments, std::string& result,
                                     std::string& description) const
{
    result.clear();
    description.clear();
    if (!m_dispatch)
        return E_UNEXPECTED;
    VariantArguments values(arguments);
    DISPPARAMS parameters = {values.Data(), nullptr, values.Count(), 0};
    VARIANT returned;
    VariantInit(&returned);
    EXCEPINFO exception = {};
    UINT badArgument = 0;
    HRESULT hr = IDispatch_Invoke(m_dispatch, id, IID_NULL, kLookupLocale, DISPATCH_METHOD, &parameters, &returned,
                                  &exception, &badArgument);
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn)
            exception.pfnDeferredFillIn(&exception);
        description = AnsiFromWide(exception.bstrDescription);
        if (exception.scode < 0)
            hr = exception.scode;
    }
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (SUCCEEDED(hr)) {
        // The result is asked for as a string: a number or a date comes back as its text, an
        // empty result as the empty text.
        if (V_VT(&returned) != VT_EMPTY && V_VT(&returned) != VT_NULL) {
            hr = VariantChangeType(&returned, &returned, 0, VT_BSTR);
            if (SUCCEEDED(hr))
                result = AnsiFromWide(V_BSTR(&returned));
        }
    }
    VariantClear(&returned);
    return hr;
}
