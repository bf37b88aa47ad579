// Starts the built evolution-editor on a demo image written by make-demo-rom, as a user
// would from a shell, lets it run and ends it: the executable, its resources and the platform
// plugin work together, and showing the image changes nothing in it.
#include "TestMain.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>

namespace {

QByteArray Digest(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) {
        return {};
    }
    return hash.result();
}

// What is left of the editor's standard error once the offscreen platform's notes on what it
// cannot do (raise a window, propagate size hints) are taken out: anything else is a warning.
QStringList Warnings(const QByteArray& err) {
    QStringList lines = QString::fromLocal8Bit(err).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.removeIf(
        [](const QString& line) { return line.startsWith(QLatin1String("This plugin does not support ")); });
    return lines;
}

} // namespace

class EditorSmokeTest : public QObject {
    Q_OBJECT

private slots:
    void RunsOnDemoImageUntilTerminated() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString image = dir.filePath(QStringLiteral("demo.nds"));

        QProcess writer;
        writer.start(QStringLiteral(EVO_MAKE_DEMO_ROM), {image});
        QVERIFY(writer.waitForFinished(60000));
        QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(writer.exitCode(), 0);
        const QByteArray before = Digest(image);
        QVERIFY(!before.isEmpty());

        // A runtime folder of its own, so that Qt has nothing to say about a missing one.
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

        QProcess editor;
        editor.setProcessEnvironment(env);
        editor.start(QStringLiteral(EVO_EDITOR), {image});
        QVERIFY2(editor.waitForStarted(10000), qPrintable(editor.errorString()));
        // Still running a while later: the window is up and its event loop turns. (Its standard
        // error is read only on failure, as reading it here would hide it from the check below.)
        const bool ended = editor.waitForFinished(2000);
        QVERIFY2(!ended, ended ? editor.readAllStandardError().constData() : "");

#ifdef Q_OS_WIN
        // terminate() asks the program's windows to close, and the offscreen platform has no
        // real window to ask (closing the real one is checked on the packaged program); the
        // process is ended from outside, as Task Manager would, and must still have been running.
        editor.kill();
        QVERIFY(editor.waitForFinished(10000));
        QCOMPARE(editor.exitStatus(), QProcess::CrashExit);
#else
        editor.terminate();
        QVERIFY(editor.waitForFinished(10000));
        // Ended by the signal sent, not by a crash of its own.
        QCOMPARE(editor.exitStatus(), QProcess::CrashExit);
        QCOMPARE(editor.exitCode(), SIGTERM);
#endif
        QCOMPARE(Warnings(editor.readAllStandardError()), QStringList());
        QCOMPARE(Digest(image), before);
    }
};

EVO_TEST_MAIN(EditorSmokeTest)
#include "tst_EditorSmoke.moc"
