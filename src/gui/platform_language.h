// The platform's own dialogs (files, fonts, printer, message-box buttons)
// speak the program's language: Qt's Russian translations, when installed.
#pragma once

namespace dalvex {

// Installs Qt's Russian texts into the running application; false when they
// are not installed (the dialogs then stay in English).
bool InstallPlatformTranslations();

}  // namespace dalvex
