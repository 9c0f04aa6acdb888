// The texts of the main window that follow the language: each set in the
// current language when added and again after every change of language.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

namespace kragmoor {

// The translation context of every text of the main window and its parts.
// Outside TForm1's own functions a text is marked with
// QT_TRANSLATE_NOOP("kragmoor::TForm1", ...): the translation tool reads the
// context only as a literal.
inline constexpr char kFormContext[] = "kragmoor::TForm1";

class TCaptions {
 public:
  // Sets `source` (the Russian text) in the current language through `set`,
  // now and on every Retranslate.
  void Add(const char* source, std::function<void(const QString&)> set) {
    set(Translate(source));
    texts_.push_back({source, std::move(set)});
  }

  void Retranslate() const {
    for (const Text& text : texts_) text.set(Translate(text.source));
  }

  static QString Translate(const char* source) {
    return QCoreApplication::translate(kFormContext, source);
  }

 private:
  struct Text {
    const char* source;
    std::function<void(const QString&)> set;
  };
  std::vector<Text> texts_;
};

}  // namespace kragmoor
