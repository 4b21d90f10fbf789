// The configuration file read through the Win32 profile functions.
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
