#include "FullScreenShow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "core/document/CPatDoc.h"
#include "core/document/InfoRecord.h"
#include "core/document/PageDrawing.h"

namespace pemo {

namespace {

// While it lives, the shown record's placeholders hold the show's mode; afterwards they
// hold the screen's again (names only on the current record in 模板方式), whatever
// path the painting leaves by.
class ShownPlaceholders {
public:
    ShownPlaceholders(CPatDoc& doc, InfoRecord& record, bool showMode)
        : doc_(doc), record_(record),
          screenMode_(doc.templateMode() && doc.currentRecord() == &record),
          switched_(showMode != screenMode_) {
        if (switched_) record_.refreshPlaceholders(showMode, doc_.placeholderSources());
    }
    ~ShownPlaceholders() {
        if (switched_) record_.refreshPlaceholders(screenMode_, doc_.placeholderSources());
    }
    ShownPlaceholders(const ShownPlaceholders&) = delete;
    ShownPlaceholders& operator=(const ShownPlaceholders&) = delete;

private:
    CPatDoc& doc_;
    InfoRecord& record_;
    bool screenMode_;
    bool switched_;
};

}  // namespace

QSize FullScreenShow::pictureSize(QSize client, int w, int h) {
    const int64_t W = client.width();
    const int64_t H = client.height();
    if (w <= 0 || h <= 0 || W <= 0 || H <= 0) return {};
    if (w <= W && h <= H) return {w, h};
    if (w * H == h * W) return {int(W), int(H)};
    if (w * H > h * W) return {int(W), int(h * W / w)};
    return {int(w * H / h), int(H)};
}

FullScreenShow::FullScreenShow(CPatDoc& doc, bool templateMode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      doc_(doc),
      index_(std::max(0, doc.currentIndex())),
      templateMode_(templateMode) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setModal(true);
    const QScreen* screen = parent && parent->screen() ? parent->screen()
                                                      : QGuiApplication::primaryScreen();
    if (screen) setGeometry(screen->availableGeometry());
}

bool FullScreenShow::isCommandEnabled(int id) const {
    const int count = doc_.recordCount();
    switch (id) {
        case Previous: return index_ > 0;
        case Next: return index_ < count - 1;
        case First: return count != 1 && index_ > 0;
        case Last: return count != 1 && index_ < count - 1;
        case End:
        case TemplateMode: return true;
        default: return false;
    }
}

void FullScreenShow::runCommand(int id) {
    if (!isCommandEnabled(id)) return;
    switch (id) {
        case Previous: --index_; break;
        case Next: ++index_; break;
        case First: index_ = 0; break;
        case Last: index_ = doc_.recordCount() - 1; break;
        case End: accept(); return;
        case TemplateMode: templateMode_ = !templateMode_; break;
        default: return;
    }
    update();
}

void FullScreenShow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    InfoRecord* record = doc_.recordAt(index_);
    if (!record) return;
    const QSize picture = pictureSize(size(), record->widthTw, record->heightTw);
    if (picture.isEmpty()) return;
    const int ppi = std::max(1, logicalDpiX());
    PageDrawOptions options;
    options.screenMode = true;
    options.zoom = double(picture.width()) / record->widthTw * 1440.0 / ppi;
    options.target = QRect(QPoint((width() - picture.width()) / 2, (height() - picture.height()) / 2),
                           picture);
    options.withBackground = true;
    options.templateMode = templateMode_;
    options.screenPixelsPerInch = ppi;
    const ShownPlaceholders placeholders(doc_, *record, templateMode_);
    drawPage(*record, doc_.backgrounds, painter, options);
}

void FullScreenShow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        runCommand(Next);
    } else if (event->button() == Qt::RightButton) {
        showContextMenu(event->globalPosition().toPoint());
    }
}

bool FullScreenShow::handleKey(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
        case Qt::Key_PageDown:
        case Qt::Key_Right:
        case Qt::Key_Down: runCommand(Next); return true;
        case Qt::Key_Escape: runCommand(End); return true;
        case Qt::Key_PageUp:
        case Qt::Key_Left:
        case Qt::Key_Up: runCommand(Previous); return true;
        case Qt::Key_End: runCommand(Last); return true;
        case Qt::Key_Home: runCommand(First); return true;
        default: return false;
    }
}

void FullScreenShow::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & Qt::AltModifier) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (!handleKey(event->key())) QDialog::keyPressEvent(event);
}

void FullScreenShow::showContextMenu(QPoint globalPos) {
    QMenu menu(this);
    const auto add = [this, &menu](int id, const char* text) {
        QAction* item = menu.addAction(QString::fromUtf8(text));
        item->setEnabled(isCommandEnabled(id));
        connect(item, &QAction::triggered, this, [this, id] { runCommand(id); });
        return item;
    };
    add(Previous, "上一页(↑)");
    add(Next, "下一页(↓)");
    menu.addSeparator();
    add(First, "第一页(Home)");
    add(Last, "最后一页(End)");
    menu.addSeparator();
    add(End, "结束(Esc)");
    menu.addSeparator();
    QAction* mode = add(TemplateMode, "模板模式");
    mode->setCheckable(true);
    mode->setChecked(templateMode_);
    menu.exec(globalPos);
}

}  // namespace pemo
