#include "base/globals.h"

char g_szWorkDir[TEXT_MAX] = "";
char g_szIniFile[TEXT_MAX] = "";
char g_szLogFile[TEXT_MAX] = "c:\\tovak.txt";
int g_bLogEnabled = 0;
int g_bLogVersionWritten = 0;
