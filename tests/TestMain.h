// The main of a test executable: runs its one QtTest class on a QApplication at 96 dpi, so that
// twips, fonts and pictures convert the same on every machine.
#pragma once

#include <QApplication>
#include <QTest>

// Put after the test class in its .cpp file, before the moc include.
#define EVO_TEST_MAIN(Class)                                                                                 \
    int main(int argc, char** argv) {                                                                        \
        QApplication app(argc, argv);                                                                        \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        Class test;                                                                                          \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
