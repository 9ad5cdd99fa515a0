// SPDX-License-Identifier: MIT
#pragma once

class QCoreApplication;
class QTranslator;

namespace platform::qt {

// Loads Qt's own Japanese texts (the buttons and labels of message boxes,
// file dialogs and the colour dialog), whatever the system's language, so
// that everything the user sees is Japanese. Returns the installed
// translator (owned by the application), or nullptr when Qt's translations
// are not installed; the dialogs then keep Qt's English.
QTranslator* InstallJapaneseTranslations(QCoreApplication& application);

}  // namespace platform::qt
