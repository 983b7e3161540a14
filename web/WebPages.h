// Opening the maker's web pages, and saying so when no browser can show them.
#pragma once

#include <QString>

class QWidget;
class WebBrowser;
struct WebSite;

/// Opens the site's address followed by the path ("/", "/sumdash.htm", ...).
void OpenWebPage(QWidget* parent, const WebSite& site, const QString& path);

/// Opens a complete address; when no browser can be started, a message names the address and
/// the game carries on.
void openWebAddress(QWidget* parent, WebBrowser& browser, const QString& address);
