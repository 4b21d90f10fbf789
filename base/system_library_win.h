// Functions of system libraries that the title screen does not need: each library is mapped
// when one of its functions is first called, not at every start. (A library the program
// imports is mapped, with every library it imports in turn, before the program's first line
// runs: COM's and the shell's cost a visible part of the title screen's start.)
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

// The address of the function `name` of the system library `library`, loaded from the system
// folder at the first call and kept for the rest of the run; null where the system lacks
// either.
FARPROC SystemFunction(const wchar_t* library, const char* name);

template <class Function> Function SystemFunctionAs(const wchar_t* library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemFunction(library, name)));
}

// COM and OLE (ole32.dll) and BSTRs (oleaut32.dll), each as the function of the system that
// its comment names. Where the library or the function is missing, the calls fail: E_FAIL, or
// no string.
namespace com {
HRESULT Initialize();                                             // CoInitialize(nullptr)
HRESULT InitializeOle();                                          // OleInitialize(nullptr)
HRESULT ClassOfProgId(const wchar_t* progId, CLSID* clsid);       // CLSIDFromProgID
HRESULT CreateInstance(REFCLSID clsid, DWORD context, REFIID iid, // CoCreateInstance,
                       void** object);                            // with no outer object
BSTR AllocString(const wchar_t* text, UINT length);               // SysAllocStringLen
void FreeString(BSTR text);                                       // SysFreeString
UINT StringLength(BSTR text);                                     // SysStringLen
} // namespace com
