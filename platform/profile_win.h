// The configuration file read through the Win32 profile functions, and the text conversions
// that make the portable reader hold what they give.
#pragma once

#include "platform/profile.h"

class CWinProfile : public IProfileReader {
  public:
    explicit CWinProfile(const char* path) : strPath(path) {}
    // The value as the wide profile functions read it, in UTF-8, cut between characters to
    // size - 1 bytes.
    std::size_t GetString(const char* section, const char* key, const char* def, char* buffer,
                          std::size_t size) override;
    int GetInt(const char* section, const char* key, int def) override;

  private:
    const char* strPath;
};

// The codec of the Windows program: text is held in UTF-8, and a file without a byte order
// mark is decoded with the machine's ANSI code page, as the profile functions decode it.
IProfileTextCodec& WinProfileCodec();
