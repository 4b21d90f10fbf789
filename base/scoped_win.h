// Scoped holders of the system's resources: each gives back what it holds when it goes out of
// scope, so that every way out of a function closes, frees or deletes it exactly once.
// (COM references have their own holder, CComRef.)
#pragma once

#include "base/system_library_win.h"

#include <windows.h>
#include <oleauto.h>

template <class Traits> class CScoped {
  public:
    using Handle = typename Traits::Handle;

    CScoped() = default;
    explicit CScoped(Handle value) : h(value) {}
    ~CScoped() { Reset(); }
    CScoped(CScoped&& other) noexcept : h(other.Detach()) {}
    CScoped& operator=(CScoped&& other) noexcept {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }
    CScoped(const CScoped&) = delete;
    CScoped& operator=(const CScoped&) = delete;

    Handle Get() const { return h; }
    explicit operator bool() const { return h != Traits::Empty(); }
    // For calls that return a new resource through an out parameter; any held one goes first.
    Handle* Out() {
        Reset();
        return &h;
    }
    // Hands the resource over to the caller, who must give it back.
    Handle Detach() {
        Handle held = h;
        h = Traits::Empty();
        return held;
    }
    void Reset(Handle value = Traits::Empty()) {
        if (h != Traits::Empty())
            Traits::Free(h);
        h = value;
    }

  private:
    Handle h = Traits::Empty();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static void Free(Handle h) { CloseHandle(h); }
};
// What CreateFile and its kin return, whose failure is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Free(Handle h) { CloseHandle(h); }
};
struct BstrTraits {
    using Handle = BSTR;
    static Handle Empty() { return nullptr; }
    static void Free(Handle h) { com::FreeString(h); }
};
template <class Object> struct GdiObjectTraits {
    using Handle = Object;
    static Handle Empty() { return nullptr; }
    static void Free(Handle h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Empty() { return nullptr; }
    static void Free(Handle h) { DeleteDC(h); }
};

// A process, thread or event handle.
using CHandle = CScoped<KernelHandleTraits>;
using CFileHandle = CScoped<FileHandleTraits>;
using CBstr = CScoped<BstrTraits>;
using CBrush = CScoped<GdiObjectTraits<HBRUSH>>;
using CFont = CScoped<GdiObjectTraits<HFONT>>;
using CBitmap = CScoped<GdiObjectTraits<HBITMAP>>;
// A device context made with CreateCompatibleDC.
using CMemoryDc = CScoped<MemoryDcTraits>;

// A started process: both of its handles, closed together.
struct CProcess {
    CHandle hProcess;
    CHandle hThread;
    DWORD dwProcessId = 0;

    // Takes over what CreateProcess filled in.
    void Take(PROCESS_INFORMATION& info) {
        hProcess.Reset(info.hProcess);
        hThread.Reset(info.hThread);
        dwProcessId = info.dwProcessId;
    }
};

// The busy cursor, shown while it is held; the cursor before it comes back (once) on End or
// when it goes out of scope.
class CBusyCursor {
  public:
    // (32514 is IDC_WAIT, whose macro follows the narrow or wide build.)
    CBusyCursor() : hPrevious(SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)))) {}
    ~CBusyCursor() { End(); }
    CBusyCursor(const CBusyCursor&) = delete;
    CBusyCursor& operator=(const CBusyCursor&) = delete;
    void End() {
        if (bEnded)
            return;
        SetCursor(hPrevious);
        bEnded = true;
    }

  private:
    HCURSOR hPrevious;
    bool bEnded = false;
};
