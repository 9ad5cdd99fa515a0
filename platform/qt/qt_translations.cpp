// SPDX-License-Identifier: MIT
#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include "platform/qt/qt_strings.h"

namespace platform::qt {

namespace {
// The one context of every text in the .ts: the texts are looked up by their Japanese alone.
constexpr const char* kContext = "Kaleidomat";
}  // namespace

QString TranslatedText(const char* text) { return QCoreApplication::translate(kContext, text); }

QtTranslator::QtTranslator() {
    qtJapaneseLoaded_ = qtJapanese_.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    englishLoaded_ = english_.load(QStringLiteral(":/i18n/kaleidomat_en.qm"));
    setLanguage(Language::Japanese);
}

QtTranslator::~QtTranslator() {
    QCoreApplication::removeTranslator(&qtJapanese_);
    QCoreApplication::removeTranslator(&english_);
}

void QtTranslator::setLanguage(Language language) {
    if (language == language_) return;
    language_ = language;
    const bool japanese = language == Language::Japanese;
    // The locale first: the widgets that follow LanguageChange read it.
    QLocale::setDefault(japanese ? QLocale(QLocale::Japanese, QLocale::Japan)
                                 : QLocale(QLocale::English, QLocale::UnitedStates));
    if (japanese) {
        QCoreApplication::removeTranslator(&english_);
        if (qtJapaneseLoaded_) QCoreApplication::installTranslator(&qtJapanese_);
    } else {
        QCoreApplication::removeTranslator(&qtJapanese_);
        if (englishLoaded_) QCoreApplication::installTranslator(&english_);
    }
}

std::string QtTranslator::translate(const char* text) const { return toStdString(TranslatedText(text)); }

}  // namespace platform::qt
