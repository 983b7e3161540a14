// Opening the maker's web pages, and saying so when no browser can show them.
#include "web/WebPages.h"

#include "ui/DialogFrame.h"
#include "web/SiteAddress.h"
#include "web/WebBrowser.h"

void OpenWebPage(QWidget* parent, WebBrowser& browser, const QString& path)
{
    openWebAddress(parent, browser, QString::fromUtf8(SiteBaseAddress) + path);
}

void openWebAddress(QWidget* parent, WebBrowser& browser, const QString& address)
{
    if (!browser.open(address.toStdString())) {
        showMessage(parent,
                    QStringLiteral("No web browser could be started to open %1").arg(address));
    }
}
