#pragma once

// A paint device that records what is drawn on it: text with its font, device
// position and transform, lines and inverted rectangles.
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextItem>
#include <vector>

namespace pemo::test {

struct DrawnText {
    QString text;
    QPointF origin;  // baseline origin in device pixels
    QTransform transform;
    int pixelSize = 0;
    QString family;
    QColor colour;
};

struct DrawnLine {
    QLineF line;
    QColor colour;
    qreal width = 0;
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    Type type() const override { return QPaintEngine::User; }

    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QTransform t = state->transform();
        texts.push_back({item.text(), t.map(p), t, item.font().pixelSize(),
                         item.font().families().value(0), state->pen().color()});
    }
    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i)
            this->lines.push_back(
                {state->transform().map(lines[i]), state->pen().color(), state->pen().widthF()});
    }
    void drawLines(const QLine* lines, int count) override {
        for (int i = 0; i < count; ++i)
            drawLines(std::vector<QLineF>{QLineF(lines[i])}.data(), 1);
    }
    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            if (state->compositionMode() == QPainter::RasterOp_NotDestination)
                inverted.push_back(state->transform().mapRect(rects[i]).toRect());
        }
    }
    void drawRects(const QRect* rects, int count) override {
        for (int i = 0; i < count; ++i)
            drawRects(std::vector<QRectF>{QRectF(rects[i])}.data(), 1);
    }

    std::vector<DrawnText> texts;
    std::vector<DrawnLine> lines;
    std::vector<QRect> inverted;
};

class RecordingDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth:
                return 2000;
            case PdmHeight:
                return 2000;
            case PdmWidthMM:
                return 529;
            case PdmHeightMM:
                return 529;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 96;
            case PdmDepth:
                return 32;
            case PdmNumColors:
                return INT_MAX;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return int(QPaintDevice::devicePixelRatioFScale());
            default:
                return 0;
        }
    }
};

}  // namespace pemo::test
