// Text as it goes into the server's pages.
#pragma once

#include <QString>

/// Every field a page shows passes through here: & < > " and ' become entities, so a name can
/// close neither an element nor an attribute quoted either way. Nothing else is changed or
/// dropped; cleaning a name is the submission's business, not the page's.
QString htmlEscaped(const QString& text);
