#pragma once

// Runs the built program without a display, with its program folder in home, and returns
// what it said: the exit status (-1 when it did not end normally), stdout and stderr.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace pemo::test {

struct PemoRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

inline PemoRun runPemo(const QStringList& arguments, const QString& home) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PEMO_HOME", home);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(PEMO_RUNTIME_DIR "/pemo"), arguments);
    PemoRun result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

}  // namespace pemo::test
