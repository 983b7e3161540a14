// The maker's pages and the style sheet.
#include "server/site/SiteFiles.h"

#include "server/core/HtmlText.h"

#include <QDir>
#include <QFile>

namespace {

struct Known
{
    const char* path;
    const char* file;
    const char* contentType;
};

constexpr Known KnownFiles[] {
    { "/", "index.htm", "text/html; charset=utf-8" },
    { "/sumdash.htm", "sumdash.htm", "text/html; charset=utf-8" },
    { "/contact.htm", "contact.htm", "text/html; charset=utf-8" },
    { "/style.css", "style.css", "text/css; charset=utf-8" },
};

// Far beyond any page of this kind; a larger one is a mistake, not a page.
constexpr qint64 MaxFileBytes = 1024 * 1024;

} // namespace

std::variant<SiteFiles, QString> SiteFiles::load(const QStringList& folders, const QString& title,
                                                 const QString& contact)
{
    SiteFiles files;
    for (const Known& known : KnownFiles) {
        bool found = false;
        for (const QString& folder : folders) {
            QFile file(QDir(folder).filePath(QString::fromLatin1(known.file)));
            if (!file.exists()) {
                continue;
            }
            if (file.size() > MaxFileBytes || !file.open(QIODevice::ReadOnly)) {
                return QStringLiteral("The page %1 cannot be read.").arg(file.fileName());
            }
            QByteArray body = file.readAll();
            if (QByteArrayView(known.contentType).startsWith("text/html")) {
                body.replace("{{title}}", htmlEscaped(title).toUtf8());
                body.replace("{{contact}}", htmlEscaped(contact).toUtf8());
            }
            files.m_files.insert(known.path, { known.contentType, body });
            found = true;
            break;
        }
        if (!found) {
            return QStringLiteral("No folder of %1 has %2.")
                .arg(folders.join(QStringLiteral(", ")), QString::fromLatin1(known.file));
        }
    }
    return files;
}

std::optional<SiteFile> SiteFiles::file(const QByteArray& path) const
{
    const auto found = m_files.constFind(path);
    if (found == m_files.constEnd()) {
        return std::nullopt;
    }
    return *found;
}
