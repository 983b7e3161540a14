// The desktop's own web browser, reached through the desktop's URL handler.
#pragma once

#include "web/WebBrowser.h"

class DesktopBrowser final : public WebBrowser
{
public:
    bool open(const std::string& address) override;
};
