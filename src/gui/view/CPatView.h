#pragma once

#include <QWidget>

namespace pemo {

class CPatDoc;

// The design view: the current record's page as a white sheet on a grey ground.
class CPatView : public QWidget {
    Q_OBJECT
public:
    explicit CPatView(CPatDoc& doc, QWidget* parent = nullptr);

    bool templateMode() const { return templateMode_; }
    void setTemplateMode(bool on);
    // Shows the whole current page again (after the current record changed).
    void showCurrentRecord();
    // The page's rectangle on screen at the fitted zoom.
    QRect pageRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CPatDoc& doc_;
    bool templateMode_ = false;
};

}  // namespace pemo
