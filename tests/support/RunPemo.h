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

// AddressSanitizer reserves terabytes of shadow memory at start, so a program built with
// it cannot start under an address-space limit at all.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSpaceLimitsWork = false;
#else
inline constexpr bool kAddressSpaceLimitsWork = true;
#endif

struct Limits {
    int seconds = 60;            // stopped (exit -1) when it runs longer
    qint64 addressSpaceKb = 0;   // `ulimit -v`; 0: none (and none where limits do not work)
};

// extra: environment variables to set as well ("NAME", "value").
inline PemoRun runPemo(const QStringList& arguments, const QString& home,
                       const QList<std::pair<QString, QString>>& extra = {}, const Limits& limits = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : extra) env.insert(name, value);
    env.insert("PEMO_HOME", home);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    const QString program = QStringLiteral(PEMO_RUNTIME_DIR "/pemo");
    if (limits.addressSpaceKb > 0 && kAddressSpaceLimitsWork) {
        const QString shell = QStringLiteral("ulimit -v %1; exec \"$0\" \"$@\"").arg(limits.addressSpaceKb);
        process.start(QStringLiteral("/bin/sh"), QStringList{"-c", shell, program} + arguments);
    } else {
        process.start(program, arguments);
    }
    PemoRun result;
    if (!process.waitForFinished(limits.seconds * 1000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

}  // namespace pemo::test
