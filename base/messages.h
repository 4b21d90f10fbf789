// The program's own window messages, numbered from WM_APP (0x8000) in one place so that none
// collide. Each carries news up to the window that owns the decision.
#pragma once

// To a menu window: a game it launched has started; the menu waits for it (no timer, no
// input).
constexpr unsigned kMsgGameStarted = 0x8001;
// To a menu window: the game it launched has ended; wParam is the close kind (back to the
// menu, or close the menu).
constexpr unsigned kMsgGameEnded = 0x8002;
// To a game screen's background window, from its control host: the game asked to close.
constexpr unsigned kMsgHostAsksClose = 0x8003;
