// The settings that hold for the whole run: read once at start-up from the section "settings"
// and handed down to every menu (and, for its keys, to the checker). Unread, they are those of
// a configuration that sets none of them.
#pragma once

#include "base/config_names.h"
#include "base/text.h"
#include "menu/player.h"
#include "platform/pad.h"
#include "platform/profile.h"
#include "screen/screen_geometry.h"

// The diagnostic log: whether it is written, and the file it goes to.
struct LogSettings {
    int bEnabled = 0;
    char strFile[TEXT_MAX] = TOVAK_DEFAULT_LOG_FILE;
};

struct RunSettings {
    LogSettings log;
    LaunchSettings launch;
    // The keys a controller sends: `pad` laid over the default mapping. Off (pad=N): no
    // controller is read at all. Each selection's `selpad` is laid over it in turn.
    PadMapping pad = DefaultPadMapping();
    // How a full-screen game gets its screen, unless a selection's `selfullscreen` says
    // otherwise.
    FullScreenWay fullScreen = FullScreenWay::Switch;
};

// Reads every key of the run's settings from the section "settings": debug (a flag, default N)
// and debugfile (default c:\tovak.txt); swfplayer, dcrplayer and htmplayer, playerfirst (a
// flag, default N) and browsermode (a flag, default Y); pad (a mapping item that is not
// understood is skipped; the checker reports it); fullscreen (switch, fit or integer; anything
// else is the mode switch).
void ReadRunSettings(IProfileReader& profile, RunSettings& settings);
