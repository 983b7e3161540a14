// The desktop's own web browser, reached through the desktop's URL handler.
#include "app/DesktopBrowser.h"

#include <QByteArray>
#include <QDesktopServices>
#include <QUrl>

bool DesktopBrowser::open(const std::string& address)
{
    // The address is already percent-encoded: taken as it is, so no value can change meaning.
    const QUrl url = QUrl::fromEncoded(QByteArray::fromStdString(address), QUrl::StrictMode);
    return url.isValid() && QDesktopServices::openUrl(url);
}
