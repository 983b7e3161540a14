// A web browser that records the addresses it is handed and opens nothing.
#pragma once

#include "web/WebBrowser.h"

#include <QStringList>

class RecordingBrowser final : public WebBrowser
{
public:
    bool open(const std::string& address) override
    {
        addresses << QString::fromStdString(address);
        return works;
    }

    QStringList addresses;
    bool works = true; ///< false: as if no browser could be started
};
