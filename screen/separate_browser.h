// What the separate browser shows and how long it waits, decided without Windows.
#pragma once

#include <string>

// The browser's page is waited for with a read of its busy state every kBusyPollMs, at most
// kMaxBusyPolls times (60 s): a page that never finishes must not hold the program for good.
constexpr unsigned kBusyPollMs = 500;
constexpr unsigned kMaxBusyPolls = 120;

// The error boxes when the browser's automation class is missing or cannot be made; domain is
// where the browser can be downloaded.
std::string BrowserMissingText(const char* domain);
std::string BrowserCreateFailedText(const char* domain);

// The error box for a text that, as a web address or joined to the working directory, does
// not fit in the program's 300-character buffer; it names the text whole.
std::string BrowserUrlTooLongText(const char* text);
