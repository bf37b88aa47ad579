// The counted texts' two English forms, and their installation when the application starts.
#include "EnglishPlurals.h"

#include <QCoreApplication>
#include <cstring>

namespace {

struct Forms {
    const char* Source;
    const char* One;
    const char* Other;
};

// Every text the program counts with %n; a text missing here is shown as written.
constexpr Forms Counted[] = {
    {"%n slot(s)", "%n slot", "%n slots"},
    {"%1 of %n slot(s)", "%1 of %n slot", "%1 of %n slots"},
    {"%n slot(s) would change.", "%n slot would change.", "%n slots would change."},
    {"%n slot(s) would change", "%n slot would change", "%n slots would change"},
    {"%n slot(s) differ from %1 to %2.", "%n slot differs from %1 to %2.", "%n slots differ from %1 to %2."},
    {"Nothing was applied: the patch has %n problem(s).", "Nothing was applied: the patch has a problem.",
     "Nothing was applied: the patch has %n problems."},
    {"Nothing can be applied: %n slot(s) of the image hold neither what the patch expected nor what it "
     "makes.",
     "Nothing can be applied: %n slot of the image holds neither what the patch expected nor what it makes.",
     "Nothing can be applied: %n slots of the image hold neither what the patch expected nor what it makes."},
    {"Nothing to do: the image already holds every change of the patch (%n slot(s)).",
     "Nothing to do: the image already holds every change of the patch (%n slot).",
     "Nothing to do: the image already holds every change of the patch (%n slots)."},
    {"Nothing was imported: the file has %n problem(s).", "Nothing was imported: the file has a problem.",
     "Nothing was imported: the file has %n problems."},
    {"\n%n slot(s) written before it could not be put back.",
     "\n%n slot written before it could not be put back.",
     "\n%n slots written before it could not be put back."},
    {"%n of the %1 slots of the import were not undone:", "%n of the %1 slots of the import was not undone:",
     "%n of the %1 slots of the import were not undone:"},
    {"%n of the %1 slots of the import were not redone:", "%n of the %1 slots of the import was not redone:",
     "%n of the %1 slots of the import were not redone:"},
};

} // namespace

QString EnglishPlurals::translate(const char* /*context*/, const char* sourceText,
                                  const char* /*disambiguation*/, int n) const {
    if (n < 0 || sourceText == nullptr) {
        return {};
    }
    for (const Forms& forms : Counted) {
        if (std::strcmp(forms.Source, sourceText) == 0) {
            return QString::fromUtf8(n == 1 ? forms.One : forms.Other);
        }
    }
    return {};
}

void EnglishPlurals::Install() {
    static bool installed = false;
    if (!installed && QCoreApplication::instance()) {
        installed = true;
        QCoreApplication::installTranslator(new EnglishPlurals(QCoreApplication::instance()));
    }
}
