// The English singular and plural of the program's counted texts ("%n slot(s) would change."), as
// a translation file would give them: the texts are written once, with %n, and Qt picks the form
// for the number. The document installs it on the application.
#pragma once

#include <QTranslator>

class EnglishPlurals : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;

    // Installs one on the running application, once.
    static void Install();
};
