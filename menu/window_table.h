// The table of window objects through which menu windows get their messages: at most
// MAX_WINDOWS objects in order of registration, searched by window handle. The table owns its
// objects: it frees those whose window is gone when the next one registers, and every object
// still in it when it is emptied at the program's end.
//
// T needs the fields hWnd (the window handle, compared with ==), bDestroyed (1 once the window
// is gone) and nInUse (non-zero while one of its handlers runs: such an object is freed only
// at a later registration), and a destructor reachable through T*.
#pragma once

#include "base/diag.h"

constexpr int MAX_WINDOWS = 20;

template <typename T> class CWindowTable {
  public:
    CWindowTable() = default;
    // Static clean-up at the program's end: frees every object still in the table.
    ~CWindowTable() { RemoveAllWindows(); }
    CWindowTable(const CWindowTable&) = delete;
    CWindowTable& operator=(const CWindowTable&) = delete;

    // Frees the objects whose windows are gone, then enters the object. A full table shows
    // "Too many Window windows already open" and does not enter it (result 0).
    int AddWindow(T* object) {
        PruneWindows();
        if (nCount >= MAX_WINDOWS) {
            ShowError("Too many Window windows already open");
            return 0;
        }
        pObjects[nCount++] = object;
        return 1;
    }

    // Frees and removes every object marked destroyed whose handlers have all returned; the
    // others keep their order.
    void PruneWindows() {
        int kept = 0;
        for (int i = 0; i < nCount; ++i) {
            T* object = pObjects[i];
            if (object->bDestroyed == 1 && object->nInUse == 0)
                delete object;
            else
                pObjects[kept++] = object;
        }
        for (int i = kept; i < nCount; ++i)
            pObjects[i] = nullptr;
        nCount = kept;
    }

    // The first object whose window is the given one, or null.
    template <typename Handle> T* FindWindowObject(Handle hWnd) const {
        for (int i = 0; i < nCount; ++i) {
            if (pObjects[i]->hWnd == hWnd)
                return pObjects[i];
        }
        return nullptr;
    }

    // Frees the object and removes it, keeping the order of the others. An object that is not
    // in the table is left alone.
    void RemoveWindow(T* object) {
        for (int i = 0; i < nCount; ++i) {
            if (pObjects[i] != object)
                continue;
            for (int j = i; j + 1 < nCount; ++j)
                pObjects[j] = pObjects[j + 1];
            pObjects[--nCount] = nullptr;
            delete object;
            return;
        }
    }

    // Frees the last object until the table is empty.
    void RemoveAllWindows() {
        while (nCount > 0) {
            T* object = pObjects[--nCount];
            pObjects[nCount] = nullptr;
            delete object;
        }
    }

    int Count() const { return nCount; }
    T* At(int index) const { return index >= 0 && index < nCount ? pObjects[index] : nullptr; }

  private:
    T* pObjects[MAX_WINDOWS] = {};
    int nCount = 0;
};
