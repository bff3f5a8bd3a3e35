// Qt's own texts (dialog buttons, the file dialog, the message boxes) in Russian.
#pragma once

class QTranslator;

namespace ravlet {

// Loads Qt's Russian translations into `translator` and installs it in the running
// application, whatever the system locale: the window itself is Russian, and English
// buttons beside it would be a mix. Russian becomes the default locale too, for what
// Qt formats rather than translates (the file dialog's sizes, dates and file types).
// False (no translations installed) when they are not on this machine (Debian:
// qt6-translations-l10n); the locale is set all the same.
bool InstallQtRussian(QTranslator& translator);

}  // namespace ravlet
