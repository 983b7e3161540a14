// The maker's web site as the windows reach it: its address and the browser that opens it.
#pragma once

#include <QString>

class WebBrowser;

/// Chosen once as the game starts (chooseSiteAddress()) and handed to every window that opens
/// the site's pages or submits to it.
struct WebSite
{
    /// Scheme, host and perhaps a port, without a trailing slash.
    QString address;
    WebBrowser& browser;
};
