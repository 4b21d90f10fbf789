// A scoped COM reference: released when it goes out of scope, so that every path out of a
// function gives back what it obtained.
#pragma once

#include <unknwn.h>

template <class Interface> class CComRef {
  public:
    CComRef() = default;
    ~CComRef() { Reset(); }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;

    Interface* Get() const { return p; }
    Interface* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
    // For calls that return a new reference through an out parameter; any held one is
    // released first.
    Interface** Out() {
        Reset();
        return &p;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    // Takes over a reference the caller owned; any held one is released first.
    void Attach(Interface* value) {
        Reset();
        p = value;
    }
    // Hands the reference over to the caller, who must release it.
    Interface* Detach() {
        Interface* held = p;
        p = nullptr;
        return held;
    }
    void Reset() {
        if (p)
            p->Release();
        p = nullptr;
    }

  private:
    Interface* p = nullptr;
};
