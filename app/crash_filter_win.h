// The last thing the program does when it dies of an unhandled exception (its own or a hosted
// control's): it gives the desktop its display mode back. Windows restores a mode changed for
// full screen when the process that changed it ends, but not every system does (Wine keeps
// the game's mode), and a player must not be left at 640 x 480.
#pragma once

// Sets the process's unhandled-exception filter. When an exception is about to end the
// process, the filter restores the desktop's display mode if a game's mode is active, writes
// one log line (when the log is on), and leaves the rest to the filter it replaced (or the
// system): the process still ends as the crash ends it, with the exception's code.
void InstallCrashFilter();
