#include "base/globals.h"

#include "base/config_names.h"

char g_szWorkDir[TEXT_MAX] = "";
char g_szIniFile[TEXT_MAX] = "";
char g_szLogFile[TEXT_MAX] = TOVAK_DEFAULT_LOG_FILE;
int g_bLogEnabled = 0;
int g_bLogVersionWritten = 0;
