// Which web site the game opens: the one it is built with, or one the game's settings name.
#pragma once

#include <QString>
#include <optional>

/// The key, in section [Sumdash] of the game's settings, that points the game at another site.
inline const QString SiteAddressKey = QStringLiteral("SiteBaseAddress");

/// The address the game is built with.
QString builtInSiteAddress();

/// text as the base address of a site, when the game takes it: http or https, a host, perhaps a
/// port, and nothing more. A lone "/" after the host is dropped, so every page path starting with
/// "/" can be appended. Nothing for anything else: another scheme, a relative address, a path, a
/// query, a fragment, a user name, blanks or an empty text.
std::optional<QString> acceptedSiteAddress(const QString& text);

/// The configured address in the form acceptedSiteAddress() gives it, when it is taken;
/// otherwise the built-in one.
QString chooseSiteAddress(const QString& configured);
