// Opening the maker's web pages, and saying so when no browser can show them.
#include "web/WebPages.h"

#include "ui/DialogFrame.h"
#include "web/WebBrowser.h"
#include "web/WebSite.h"

void OpenWebPage(QWidget* parent, const WebSite& site, const QString& path)
{
    openWebAddress(parent, site.browser, site.address + path);
}

void openWebAddress(QWidget* parent, WebBrowser& browser, const QString& address)
{
    if (!browser.open(address.toStdString())) {
        showMessage(parent,
                    QStringLiteral("No web browser could be started to open %1").arg(address));
    }
}
