// Resource identifiers.
#pragma once

#define IDI_TOVAK 107
#define IDI_TOVAK_SMALL 108
#define IDR_ACCELERATORS 109
#define IDM_ABOUT_KEYS 104
