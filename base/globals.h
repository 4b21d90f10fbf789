// The process-wide state every room of the program reads: where the program runs, which
// configuration file it reads, and where its diagnostic log goes. Set at start-up.
#pragma once

#include "base/text.h"

extern char g_szWorkDir[TEXT_MAX];
extern char g_szIniFile[TEXT_MAX];
extern char g_szLogFile[TEXT_MAX];
extern int g_bLogEnabled;
// Set once this run's first log entry, the program's version, is written.
extern int g_bLogVersionWritten;
