// The configuration file read through the Win32 profile functions, and the text conversions
// that make the portable reader hold what they give.
#pragma once

#include "platform/profile.h"

class CWinProfile : public IProfileReader {
  public:
    explicit CWinProfile(const char* path) : strPath(path) {}
    std::size_t GetString(const char* section, const char* key, const char* def, char* buffer,
                          std::size_t size) override;
    int GetInt(const char* section, const char* key, int def) override;

  private:
    const char* strPath;
};

// The codec of the Windows program: text is held in the ANSI code page, as the "A" profile
// functions give it (a character the code page cannot hold becomes what the system's
// conversion makes of it, a similar letter or '?').
IProfileTextCodec& AnsiProfileCodec();
