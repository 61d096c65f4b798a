#pragma once

#include <QDialog>
#include <QSize>

namespace pemo {

class CPatDoc;

// 全屏显示: a borderless window over the desktop's work area that shows the records' pages
// one at a time on black, from the current record on. It reads the document live and
// changes nothing in it: when it closes, the current record and the view's 模板方式 are
// as they were.
class FullScreenShow : public QDialog {
    Q_OBJECT
public:
    static constexpr int Previous = 35001;  // 上一页(↑)
    static constexpr int Next = 35002;      // 下一页(↓)
    static constexpr int First = 35003;     // 第一页(Home)
    static constexpr int Last = 35004;      // 最后一页(End)
    static constexpr int End = 35005;       // 结束(Esc)
    static constexpr int TemplateMode = 35006;  // 模板模式

    // The size a page of w × h twips is drawn at in a client of W × H pixels: one pixel
    // per twip when it fits, else as large as fits with the page's proportions.
    static QSize pictureSize(QSize client, int pageWidthTw, int pageHeightTw);

    FullScreenShow(CPatDoc& doc, bool templateMode, QWidget* parent = nullptr);

    int index() const { return index_; }
    bool showsTemplateMode() const { return templateMode_; }
    bool isCommandEnabled(int id) const;
    // A command whose condition does not hold does nothing.
    void runCommand(int id);
    // The show's keys: true when the key was one of them.
    bool handleKey(int key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showContextMenu(QPoint globalPos);

    CPatDoc& doc_;
    int index_ = 0;
    bool templateMode_ = false;
};

}  // namespace pemo
