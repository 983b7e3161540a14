// The desktop's web browser as the game uses it: hand it an address, never wait for it.
#pragma once

#include <string>

/// main.cpp hands the windows the real one; tests record the addresses instead.
class WebBrowser
{
public:
    virtual ~WebBrowser() = default;
    /// Opens the address (percent-encoded, UTF-8) in a new browser window and returns at once;
    /// false when no browser could be started.
    virtual bool open(const std::string& address) = 0;
};
