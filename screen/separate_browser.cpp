#include "screen/separate_browser.h"

namespace {

std::string DownloadAdvice(const char* failure, const char* domain) {
    return std::string(failure) + "\n\nPlease go to the web site " + domain +
           " and download Internet Explorer 5 or greater.";
}

} // namespace

std::string BrowserMissingText(const char* domain) {
    return DownloadAdvice("Failed to find Internet Explorer object.", domain);
}

std::string BrowserCreateFailedText(const char* domain) {
    return DownloadAdvice("Failed to create Internet Explorer object.", domain);
}

std::string BrowserUrlTooLongText(const char* text) {
    return std::string("The page to open is too long\n\nurl=") + text;
}
