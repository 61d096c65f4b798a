#pragma once

#include <QApplication>

namespace pemo {

// The window's application. Every command runs from an event (a menu, a key, a button, a
// dropped file), so catching here catches it at the top of each: a command that runs out
// of memory says so through Messages and leaves the document open as it was before the
// command began writing anything, instead of ending the program.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;

    static QString outOfMemoryText();
};

}  // namespace pemo
