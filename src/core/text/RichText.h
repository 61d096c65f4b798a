#pragma once

#include <QByteArray>
#include <QRect>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "CharStyle.h"
#include "TextItem.h"

class QPainter;

namespace pemo {

class ArchiveReader;
class ArchiveWriter;
class PriceItem;
class TextMetrics;

// A caret or anchor position: an item index and a side.
struct TextPosition {
    int index = 0;
    bool before = true;
    bool operator==(const TextPosition&) const = default;
};

// The picture store of a template or clipboard stream, as the content's texture
// fills see it while such a stream is written or read.
class StreamPictures {
public:
    virtual ~StreamPictures() = default;
    // Copies a picture of the document's store into the stream's; returns its key there.
    virtual QByteArray exportPicture(const QByteArray& documentKey) = 0;
    // Copies a picture of the stream's store into the document's; returns its key there.
    virtual QByteArray importPicture(const QByteArray& localKey) = 0;
};

// Where and how the content is drawn: device pixels of its top-left corner, the zoom
// (1 = actual size) and the resolution in pixels per inch to assume (print and bitmap
// output), or 0 for the painter's device's own.
struct TextDevice {
    double zoom = 1.0;
    int originX = 0;
    int originY = 0;
    int dpiX = 96;
    int dpiY = 96;
};

// The rich text of a text block or a list cell: one item per character, space, line
// break and price field, closed by exactly one end item. Lengths are twips from the
// content's top-left corner; sizes are points.
class RichText {
public:
    // Font sizes in points. Fitting keeps text of kFitMinimum points or more between
    // kFitMinimum and kLargestSize; text set below kFitMinimum (a label's small print)
    // is fitted among the small sizes, kSmallestSize to kFitMinimum − 1, so it stays small.
    static constexpr int kSmallestSize = 5;
    static constexpr int kFitMinimum = 20;
    static constexpr int kLargestSize = 360;

    enum Alignment : uint8_t { Left = 1, Right = 2, Centre = 3, Fill = 4 };
    enum StyleCode {
        ChineseFace = 1,
        WesternFace = 2,
        Size = 3,
        Bold = 4,
        Italic = 5,
        Underline = 6,
        TextColour = 7,
        CharSpacing = 11
    };

    RichText();
    // The content of a new block: the text inserted with the kind, or one price field
    // holding it for a price kind. Laid out, not fitted.
    RichText(int frameWidth, int frameHeight, const QByteArray& text, const CharStyle& style,
             int32_t kind, int fontSize, int lineSpacing, int alignment);
    RichText(const RichText& other);
    RichText& operator=(const RichText& other);
    ~RichText();

    // Metrics source for measuring; the installed fonts unless set. Not owned.
    void setMetrics(const TextMetrics* metrics);
    const TextMetrics& metrics() const { return *metrics_; }

    // --- fields
    int frameWidth() const { return frameWidth_; }
    int frameHeight() const { return frameHeight_; }
    int extent() const { return extent_; }
    int fontSize() const { return fontSize_; }
    int alignment() const { return alignment_; }
    int lineSpacing() const { return lineSpacing_; }
    bool isVertical() const { return vertical_ != 0; }
    int lineGap() const { return lineGap_; }
    int32_t borderGlyph = 32;
    int32_t borderSize = 20;
    int32_t borderColour = 0;
    int32_t transparent = 1;
    int32_t backgroundColour = 0xFFFFFF;
    SharedStyle typingStyle;

    // These only store the value; the owner fits afterwards (fitToFrame).
    void setAlignment(int alignment) { alignment_ = uint8_t(alignment); }
    void setLineSpacing(int percent) { lineSpacing_ = int16_t(percent); }
    void setVertical(bool vertical) { vertical_ = vertical ? 1 : 0; }
    void setFontSize(int points) { fontSize_ = uint16_t(points); }
    // Stores the frame size, then fits.
    void setFrameSize(int width, int height, bool autoFit);

    int itemCount() const { return int(items_.size()); }
    const TextItem& item(int i) const { return *items_[size_t(i)]; }
    TextItem& item(int i) { return *items_[size_t(i)]; }
    int endIndex() const { return itemCount() - 1; }
    // The first price field of the kind, or null.
    PriceItem* firstPriceItem(int32_t kind);

    // --- stored forms (the content is emptied before reading)
    void storeSnapshot(ArchiveWriter& out) const;
    void loadSnapshot(ArchiveReader& in);
    void store(ArchiveWriter& out) const;
    void load(ArchiveReader& in);
    // Template and clipboard form: run exportPictures with the stream's store first.
    void storeTemplate(ArchiveWriter& out) const;
    void loadTemplate(ArchiveReader& in, StreamPictures* pictures);
    void exportPictures(StreamPictures* pictures);
    void markPicturesUsed(const std::function<void(const QByteArray& key)>& mark) const;

    // --- positions and editing
    TextPosition caret() const { return caret_; }
    TextPosition anchor() const { return anchor_; }
    // Sets both ends (clamped to the items); no layout.
    void setSelection(TextPosition anchor, TextPosition caret);
    bool hasSelection() const;
    // Half-open item range [first, last) of the selection.
    std::pair<int, int> selectionRange() const;
    // Copies the style at the selection's start into typingStyle and tells the
    // listener (the main window's font and size boxes). Runs after every caret move,
    // selection change and deletion.
    void syncTypingStyle();
    void setTypingStyleListener(std::function<void(const CharStyle&)> listener) {
        typingStyleListener_ = std::move(listener);
    }
    void typeCharacter(uint8_t lead, uint8_t trail = 0);
    void insertText(const QByteArray& text, int32_t kind = TextKind::Fixed);
    void deleteSelected();
    void deleteForward();
    void deleteBackward();
    void selectAll();
    QByteArray selectedText() const;
    bool isEmpty() const;
    bool isEmptyAfterCaret() const;
    // Codes 3..7 and 11. With a selection the selected items change, the content fits
    // and the result is true; without one only typingStyle changes.
    bool applyStyle(int code, int value, bool autoFit);
    // A code of 3..7 or 11 for the whole content, whatever is selected (a block chosen
    // as a whole), and for what is typed next; the content fits.
    void applyStyleToAll(int code, int value, bool autoFit);
    // Codes 1 and 2 (face names, GBK).
    bool applyStyle(int code, const QByteArray& face, bool autoFit);
    bool applyArtSettings(const CharStyle& art, bool autoFit);
    // Puts a new value in place of the run tagged with the kind, in the style of its
    // first character; nothing happens when no item carries the kind.
    void setPlaceholderText(const QByteArray& text, int32_t kind, bool autoFit);
    void setPriceText(const QByteArray& text, int32_t kind, bool autoFit);

    // --- layout
    void measureItems();
    void markBreaks();
    void layout();
    void fitToFrame(bool autoFit);
    bool trySize(int newSize);
    // The smallest size of any item, the end item included.
    int smallestItemSize() const;
    // Layouts run since construction; lets tests hold fitting to its budget.
    int layoutCount() const { return layoutCount_; }

    // --- drawing and caret (device pixels)
    void draw(QPainter& painter, const TextDevice& device, bool showSelection) const;
    // The same, telling beforeItem the index of each item before it is drawn (the
    // glyph capture follows the drawing this way).
    void draw(QPainter& painter, const TextDevice& device, bool showSelection,
              const std::function<void(int item)>& beforeItem) const;
    // The caret's rectangle, or none while a selection exists.
    std::optional<QRect> caretRect(const TextDevice& device) const;
    void caretTextStart(bool extend);
    void caretTextEnd(bool extend);
    void caretLineStart(bool extend);
    void caretLineEnd(bool extend);
    void caretLeft(bool extend);
    void caretRight(bool extend);
    void caretUp(bool extend);
    void caretDown(bool extend);
    TextPosition caretFromPoint(int x, int y) const;
    void setCaretAt(int x, int y, bool extend);
    void extendSelectionTo(int x, int y);

private:
    struct Segment;
    struct SegmentIndex;

    void clearItems();
    void writeForm(ArchiveWriter& out, StyleForm form) const;
    void readForm(ArchiveReader& in, StyleForm form, StreamPictures* pictures);
    // Whether the items of a placeholder kind are exactly these (class and bytes).
    bool placeholderRunEquals(int32_t kind,
                              const std::vector<std::unique_ptr<TextItem>>& fresh) const;
    std::vector<std::unique_ptr<TextItem>> makeItems(const QByteArray& text, int32_t kind,
                                                     const SharedStyle& style) const;
    std::unique_ptr<TextItem> makeCharacter(uint8_t lead, uint8_t trail, int32_t kind,
                                            const SharedStyle& style) const;
    // Changes the style of items [first, last); characters that shared a style share
    // its changed copy.
    void restyleItems(int first, int last, const std::function<void(CharStyle&)>& change);
    void insertAtCaret(std::unique_ptr<TextItem> item);
    void normalizeCaretForInsert();
    void eraseItem(int index);
    int available() const { return vertical_ ? frameHeight_ : frameWidth_; }

    // fitToFrame for a content with text below kFitMinimum.
    void fitSmallText();

    Segment scanSegment(int from, const SegmentIndex& index) const;
    Segment forcedSplit(int from);
    void placeLine(int start, int end, int width, int height, int ascent, int result, int others,
                   int spaces, bool paragraphStart);

    bool canHoldCaret(const TextItem& item) const;
    int runStart(int index) const;
    int firstFixedAfterRun(int index) const;
    void moveCaret(int index, bool extend);
    TextPosition caretFromPointHorizontal(int px, int py) const;
    TextPosition caretFromPointVertical(int px, int py) const;
    void drawHorizontal(QPainter& painter, const TextDevice& device, bool showSelection,
                        const std::function<void(int)>& beforeItem) const;
    void drawVertical(QPainter& painter, const TextDevice& device, bool showSelection,
                      const std::function<void(int)>& beforeItem) const;

    int32_t frameWidth_ = 0;
    int32_t frameHeight_ = 0;
    int32_t extent_ = 0;
    uint16_t fontSize_ = 24;
    uint8_t alignment_ = Left;
    int16_t lineSpacing_ = 25;
    int32_t vertical_ = 0;
    std::vector<std::unique_ptr<TextItem>> items_;
    TextPosition anchor_;
    TextPosition caret_;
    int32_t lineGap_ = 0;
    int32_t layoutTop_ = 0;
    int layoutCount_ = 0;
    const TextMetrics* metrics_;
    std::function<void(const CharStyle&)> typingStyleListener_;  // not copied
};

}  // namespace pemo
