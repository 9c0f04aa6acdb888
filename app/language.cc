// The window's languages.
#include "app/language.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

namespace kragmoor {

namespace {

// Where the settings are kept: ~/.config/kragmoor/kragmoor.conf on Linux.
QSettings Settings() { return QSettings(QStringLiteral("kragmoor"), QStringLiteral("kragmoor")); }

const QString kLanguageKey = QStringLiteral("language");

// The application's translator, made on first use and owned by the
// application object; installed exactly while English is in force.
QTranslator* Translator() {
  QCoreApplication* app = QCoreApplication::instance();
  const QString name = QStringLiteral("kragmoor-translator");
  if (auto* found = app->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly)) return found;
  auto* translator = new QTranslator(app);
  translator->setObjectName(name);
  // Compiled from app/translations/kragmoor_en.ts at build time.
  if (!translator->load(QStringLiteral(":/i18n/kragmoor_en.qm"))) {
    qWarning("kragmoor: the English translation is missing from the program");
  }
  return translator;
}

}  // namespace

bool IsLanguage(const QString& code) { return code == kRussian || code == kEnglish; }

QString SavedLanguage() {
  const QString code = Settings().value(kLanguageKey).toString();
  return IsLanguage(code) ? code : QString(kRussian);
}

void SaveLanguage(const QString& code) { Settings().setValue(kLanguageKey, code); }

bool HasSavedLanguage() { return IsLanguage(Settings().value(kLanguageKey).toString()); }

QString SystemLanguage() {
  return QLocale::system().language() == QLocale::Russian ? QString(kRussian) : QString(kEnglish);
}

void ApplyLanguage(const QString& code) {
  QTranslator* translator = Translator();
  const bool english = code == kEnglish;
  if (english == (CurrentLanguage() == kEnglish)) return;
  // Set first: the widgets ask for it while they take the change.
  QCoreApplication::instance()->setProperty("kragmoorLanguage", english ? kEnglish : kRussian);
  if (english) {
    QCoreApplication::installTranslator(translator);
  } else {
    QCoreApplication::removeTranslator(translator);
  }
}

QString CurrentLanguage() {
  const QString code = QCoreApplication::instance()->property("kragmoorLanguage").toString();
  return code == kEnglish ? code : QString(kRussian);
}

}  // namespace kragmoor
