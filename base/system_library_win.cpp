#include "base/system_library_win.h"

FARPROC SystemFunction(const wchar_t* library, const char* name) {
    // Only the system folder is searched, so that a file of the same name beside the game is
    // never loaded in its place. Systems that predate the flag refuse it as a parameter; there
    // the libraries asked for are the system's known libraries, which come from its folder.
    HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER)
        module = LoadLibraryW(library);
    return module ? GetProcAddress(module, name) : nullptr;
}

namespace com {

namespace {

const wchar_t* const kOle = L"ole32.dll";
const wchar_t* const kOleAutomation = L"oleaut32.dll";

} // namespace

HRESULT Initialize() {
    static const auto function = SystemFunctionAs<HRESULT(WINAPI*)(void*)>(kOle, "CoInitialize");
    return function ? function(nullptr) : E_FAIL;
}

HRESULT InitializeOle() {
    static const auto function = SystemFunctionAs<HRESULT(WINAPI*)(void*)>(kOle, "OleInitialize");
    return function ? function(nullptr) : E_FAIL;
}

HRESULT ClassOfProgId(const wchar_t* progId, CLSID* clsid) {
    static const auto function =
        SystemFunctionAs<HRESULT(WINAPI*)(LPCOLESTR, CLSID*)>(kOle, "CLSIDFromProgID");
    return function ? function(progId, clsid) : E_FAIL;
}

HRESULT CreateInstance(REFCLSID clsid, DWORD context, REFIID iid, void** object) {
    static const auto function =
        SystemFunctionAs<HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**)>(
            kOle, "CoCreateInstance");
    if (!function) {
        *object = nullptr;
        return E_FAIL;
    }
    return function(clsid, nullptr, context, iid, object);
}

BSTR AllocString(const wchar_t* text, UINT length) {
    static const auto function =
        SystemFunctionAs<BSTR(WINAPI*)(const OLECHAR*, UINT)>(kOleAutomation, "SysAllocStringLen");
    return function ? function(text, length) : nullptr;
}

void FreeString(BSTR text) {
    static const auto function =
        SystemFunctionAs<void(WINAPI*)(BSTR)>(kOleAutomation, "SysFreeString");
    if (function)
        function(text);
}

UINT StringLength(BSTR text) {
    static const auto function =
        SystemFunctionAs<UINT(WINAPI*)(BSTR)>(kOleAutomation, "SysStringLen");
    return function ? function(text) : 0;
}

} // namespace com
