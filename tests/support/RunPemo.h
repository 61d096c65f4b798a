#pragma once

// Runs the built program without a display, with its program folder in home, and returns
// what it said: the exit status (-1 when it did not end normally), stdout and stderr.
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <utility>

namespace pemo::test {

struct PemoRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// extra: environment variables to set as well ("NAME", "value").
inline PemoRun runPemo(const QStringList& arguments, const QString& home,
                       const QList<std::pair<QString, QString>>& extra = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : extra) env.insert(name, value);
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
