// The token each form of the moderators' page carries, so that another site cannot make a
// moderator's browser, logged in, press a button of ours (cross-site request forgery).
#pragma once

#include <QByteArray>
#include <QByteArrayView>

inline constexpr qint64 AdminFormTokenLifetimeMs = 2 * 60 * 60 * 1000;

/// base64url(issue time) + "." + base64url(HMAC-SHA256 of it with secret).
QByteArray adminFormToken(const QByteArray& secret, qint64 issuedUtcMs);

/// Whether token was made by adminFormToken() with secret within its lifetime before nowUtcMs
/// (or up to a minute after it, should the clock have been set back).
bool adminFormTokenValid(const QByteArray& secret, QByteArrayView token, qint64 nowUtcMs);
