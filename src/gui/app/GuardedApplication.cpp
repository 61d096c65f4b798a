#include "GuardedApplication.h"

#include <new>

#include "core/platform/Messages.h"

namespace pemo {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        // What the command held has been given back by the unwinding, and its output
        // went to temporary files that went with it.
        Messages::current().inform(outOfMemoryText());
        return false;
    }
}

QString GuardedApplication::outOfMemoryText() {
    return QString::fromUtf8("内存不足：这个命令需要的内存超过了可用的内存，已经停下，没有写出任何文件。文档仍然打开着。");
}

}  // namespace pemo
