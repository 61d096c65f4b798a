#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace pemo {

// A second start of the program hands its file to the running one (the open request
// a desktop shell sends), over a local socket named per user.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(QObject* parent = nullptr);

    // Sends the path to a running instance; true when one took it.
    static bool handOver(const QString& path);
    // Starts listening for paths from later starts.
    bool listen();

    static QString serverName();

signals:
    void openRequested(const QString& path);

private:
    QLocalServer* server_ = nullptr;
};

}  // namespace pemo
