// The table of open game screens: a fixed array of at most ten records, in order of creation,
// owned by the table. The rules of adding, pruning and deleting live here; the record type is
// the game screen's (or a test's).
#pragma once

#include "base/diag.h"

#include <new>

constexpr int kMaxBrowsers = 10;

// Close kinds: what happens to the launching menu when the game screen closes.
constexpr int kCloseToMenu = 1;
constexpr int kCloseMenu = 2;
constexpr int kCloseProgram = 3;

// Record needs a default constructor and an int field bClosed.
template <class Record> class CRecordTable {
  public:
    CRecordTable() = default;
    CRecordTable(const CRecordTable&) = delete;
    CRecordTable& operator=(const CRecordTable&) = delete;
    // At program end every remaining record is deleted, the last one first.
    ~CRecordTable() { DeleteAll(); }

    // Deletes the closed records, then makes and appends a new one. Null after the error box
    // when ten records remain (or when memory runs out).
    Record* Add() {
        for (int i = 0; i < nCount;) {
            if (entries[i]->bClosed)
                RemoveAt(i);
            else
                ++i;
        }
        if (nCount >= kMaxBrowsers) {
            ShowError("Too many browser windows already open");
            return nullptr;
        }
        Record* record = new (std::nothrow) Record;
        if (record)
            entries[nCount++] = record;
        return record;
    }

    // Deletes the first entry equal to record and closes the gap; nothing when it is absent.
    void Delete(Record* record) {
        for (int i = 0; i < nCount; ++i) {
            if (entries[i] == record) {
                RemoveAt(i);
                return;
            }
        }
    }

    // The first record for which match(record) holds, or null.
    template <class Match> Record* Find(Match match) const {
        for (int i = 0; i < nCount; ++i) {
            if (match(*entries[i]))
                return entries[i];
        }
        return nullptr;
    }

    void DeleteAll() {
        while (nCount > 0)
            Delete(entries[nCount - 1]);
    }

    int Count() const { return nCount; }
    Record* At(int i) const { return i >= 0 && i < nCount ? entries[i] : nullptr; }

  private:
    void RemoveAt(int i) {
        Record* record = entries[i];
        // Taken out of the table before its destructor runs, so that the destructor never
        // finds itself in the table.
        for (int j = i + 1; j < nCount; ++j)
            entries[j - 1] = entries[j];
        entries[--nCount] = nullptr;
        delete record;
    }

    Record* entries[kMaxBrowsers] = {};
    int nCount = 0;
};
