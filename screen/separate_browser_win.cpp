#include "screen/separate_browser_win.h"

#include "app/diag.h"

// The separate browser is not built yet: the call is recorded and reports that nothing was
// opened.
int OpenSeparateBrowser(const char*) {
    WriteLog("OpenSeparateBrowser at1");
    return 0;
}
