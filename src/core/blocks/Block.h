#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <memory>
#include <vector>

#include "BlockHandle.h"
#include "OutputDevice.h"

class QPainter;

namespace pemo {

class ArchiveReader;
class ArchiveWriter;
class PictureStore;

// Frame rectangle in page twips; right and bottom are the far edges.
struct TwipsRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool operator==(const TwipsRect&) const = default;
};

// The stored forms of a block.
enum class BlockForm { Snapshot, Document, Template, Clip };

// Bits of the flags argument of draw.
namespace DrawFlag {
inline constexpr int Wire = 1;          // outline only while a graphic is being drawn
inline constexpr int FrameLines = 2;    // show frame lines (text blocks)
inline constexpr int SelectionTool = 8; // handles are drawn
inline constexpr int Editing = 16;      // in-place text editing is active
}  // namespace DrawFlag

// One object on a page: text, picture or graphic. The virtual operations keep the
// order of the original design; the concrete classes add their own fields after the
// base part of each stored form.
class Block {
public:
    Block() = default;
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    virtual ~Block();
    virtual void loadSnapshot(ArchiveReader& in);
    virtual void storeSnapshot(ArchiveWriter& out) const;
    virtual void load(ArchiveReader& in);
    virtual void store(ArchiveWriter& out) const;
    virtual void markPicturesUsed(PictureStore& images) const;
    // The template form refers to pictures of the stream's own store (local); a block
    // that takes a picture adds it to the document's images store.
    virtual void loadTemplate(ArchiveReader& in, const PictureStore& local, PictureStore& images);
    virtual void storeTemplate(ArchiveWriter& out) const;
    virtual void exportPictures(PictureStore& local, const PictureStore& images) const;
    // Reads the clipboard form; the stored origin is handed back.
    virtual void loadClip(ArchiveReader& in, const PictureStore& local, PictureStore& images,
                          QPoint& origin);
    virtual void storeClip(ArchiveWriter& out, int32_t originX, int32_t originY) const;
    virtual void draw(QPainter& painter, int flags, double zoom, int offsetX, int offsetY);
    virtual void drawForOutput(QPainter& painter, double zoom, int offsetX, int offsetY,
                               const OutputDevice& device);
    virtual void drawPlacementFrame(QPainter& painter, int x, int y, int width, int height);
    virtual void rebuildHandles(bool clearFirst);
    virtual void moveBy(int32_t dx, int32_t dy);
    // Asked with a white scratch bitmap the size of the canvas; x, y in device pixels.
    virtual bool hitTest(QImage& scratch, double zoom, int x, int y);
    virtual bool isLiveText() const;
    // What the block may paint, in page twips: its frame, and more for blocks whose pen
    // or shadow reach past it. Band output skips a block whose ink misses the band.
    virtual TwipsRect inkBounds() const { return frame; }

    // Scales the block per axis when its page changes size; every product of a
    // coordinate and a factor is truncated toward zero.
    virtual void scaleBy(double sx, double sy);
    // Placeholder blocks show a record's value; other blocks ignore it.
    virtual void setPlaceholderText(const QByteArray& text);
    // Text blocks: their plain text (GBK); a null array for other blocks.
    virtual QByteArray plainText() const;
    // Picture-bearing blocks: the key of the picture shown in the document's images.
    virtual QByteArray pictureKey() const;
    virtual void setPictureKey(const QByteArray& key);

    // Grips.
    BlockHandle& addHandle(int32_t id, int32_t index, int32_t x, int32_t y);
    // Deletes every handle except `keep` (when given).
    void clearHandles(const BlockHandle* keep = nullptr);
    const BlockHandle* hitHandle(int32_t x, int32_t y, int32_t tolerance) const;
    void drawHandles(QPainter& painter, int flags, double zoom) const;
    const std::vector<std::unique_ptr<BlockHandle>>& handles() const { return handles_; }

    int32_t kind = 0;
    int32_t aspectMode = 3;  // 1 keeps the width/height ratio on corner resizing
    int32_t layer = 7;
    TwipsRect frame;
    int32_t sizeWidth = 0;
    int32_t sizeHeight = 0;
    bool selected = false;
    bool locked = false;

    static constexpr int kLayerCount = 15;

protected:
    // The base parts of the stored forms: 68 bytes (document and template), 44 bytes
    // (snapshot and clipboard).
    void loadBase(ArchiveReader& in);
    void storeBase(ArchiveWriter& out) const;
    void loadSnapshotBase(ArchiveReader& in);
    void storeSnapshotBase(ArchiveWriter& out) const;
    QPoint loadClipBase(ArchiveReader& in);
    void storeClipBase(ArchiveWriter& out, int32_t originX, int32_t originY) const;

private:
    void readHead(ArchiveReader& in);
    // The frame is written relative to the origin (the clipboard form's).
    void writeHead(ArchiveWriter& out, QPoint origin) const;
    // Refuses a layer outside 0 to 14.
    void checkLayer() const;

    std::vector<std::unique_ptr<BlockHandle>> handles_;
};

}  // namespace pemo
