// The web browser control's document mode in this program: its newest one, asked for through
// the current user's per-program browser-emulation value, so that pages drawn on a canvas (or
// with WebGL) show instead of the oldest mode's blank page.
#pragma once

// Once per run, before the first web-page control is created: writes the value named after
// this program's file name with the newest mode, unless a value of that name exists (a player's
// or an administrator's own choice, kept). Failures only mean the control's default mode.
void EnsureBrowserEmulation();
