// The maker's pages and the style sheet: files the operator may replace, read once at start.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

struct SiteFile
{
    QByteArray contentType;
    QByteArray body;
};

class SiteFiles
{
public:
    /// Reads "/" (index.htm), "/sumdash.htm", "/contact.htm" and "/style.css", each from the
    /// first of folders that has it: the operator's own folder first, the shipped one last.
    /// "{{title}}" and "{{contact}}" in a page become title and contact, escaped. The text
    /// names a file that no folder has.
    static std::variant<SiteFiles, QString> load(const QStringList& folders, const QString& title,
                                                 const QString& contact);

    std::optional<SiteFile> file(const QByteArray& path) const;

private:
    QHash<QByteArray, SiteFile> m_files;
};
