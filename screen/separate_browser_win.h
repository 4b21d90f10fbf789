// Opening a page or file in a separate browser window.
#pragma once

// Shows the URL or file (relative to the working directory) in a new browser window.
// 1 when the page was handed to the browser, 0 after an error box.
int OpenSeparateBrowser(const char* url);
