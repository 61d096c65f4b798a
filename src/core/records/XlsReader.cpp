#include "XlsReader.h"

#include <QFile>
#include <cstring>
#include <freexl.h>

#include "CellText.h"
#include "core/codecs/Archive.h"
#include "core/platform/ChildRun.h"

namespace pemo {

// libfreexl believes the lengths written inside a file: a damaged workbook can make it
// read past its own buffers. It therefore runs in a child process (ChildRun) that hands
// the cells back through a pipe; a child that dies, runs over its limits or says nothing
// sensible means a file that is no readable workbook, and the program goes on.
namespace {

enum ChildStatus : int32_t { Read = 0, NotAWorkbook = 1, MissingSheet = 2 };
enum CellType : uint8_t { TextCell = 1, IntCell = 2, DoubleCell = 3 };

// Closes the workbook however the read ends.
class FreexlHandle {
public:
    explicit FreexlHandle(const QByteArray& path) {
        if (freexl_open(path.constData(), &handle_) != FREEXL_OK) close();
    }
    ~FreexlHandle() { close(); }
    FreexlHandle(const FreexlHandle&) = delete;
    FreexlHandle& operator=(const FreexlHandle&) = delete;

    const void* get() const { return handle_; }

private:
    void close() {
        if (handle_) freexl_close(handle_);
        handle_ = nullptr;
    }
    const void* handle_ = nullptr;
};

// The child's side: the sheet names, then every cell with a value of the chosen sheet as
// freexl gives it (texts in UTF-8). No conversion to GBK here; the parent does that.
QByteArray readWorkbook(const QByteArray& path, const QString& sheetName) {
    ArchiveWriter out;
    FreexlHandle workbook(path);
    const void* xls = workbook.get();
    unsigned int info = 0;
    if (!xls || freexl_get_info(xls, FREEXL_BIFF_PASSWORD, &info) != FREEXL_OK ||
        info == FREEXL_BIFF_OBFUSCATED) {
        out.writeInt32(NotAWorkbook);
        return out.take();
    }
    unsigned int sheetCount = 0;
    freexl_get_info(xls, FREEXL_BIFF_SHEET_COUNT, &sheetCount);
    QStringList names;
    for (unsigned int i = 0; i < sheetCount && i <= 0xFFFF; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(xls, static_cast<unsigned short>(i), &name) != FREEXL_OK) {
            out.writeInt32(NotAWorkbook);
            return out.take();
        }
        names << QString::fromUtf8(name ? name : "");
    }
    const int index = CellText::findSheet(names, sheetName);
    unsigned int rows = 0;
    unsigned short columns = 0;
    const bool selected =
        index >= 0 &&
        freexl_select_active_worksheet(xls, static_cast<unsigned short>(index)) == FREEXL_OK &&
        freexl_worksheet_dimensions(xls, &rows, &columns) == FREEXL_OK;
    out.writeInt32(index < 0 ? MissingSheet : selected ? Read : NotAWorkbook);
    out.writeInt32(int32_t(names.size()));
    for (const QString& name : names) out.writeText(name.toUtf8());
    if (!selected) return out.take();
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell{};
            if (freexl_get_cell_value(xls, r, c, &cell) != FREEXL_OK) continue;
            switch (cell.type) {
                case FREEXL_CELL_INT:
                    out.writeInt32(int32_t(r));
                    out.writeInt32(c);
                    out.writeByte(IntCell);
                    out.writeInt32(cell.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    out.writeInt32(int32_t(r));
                    out.writeInt32(c);
                    out.writeByte(DoubleCell);
                    out.writeBytes(QByteArray(reinterpret_cast<const char*>(&cell.value.double_value),
                                              sizeof(double)));
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    if (cell.value.text_value && *cell.value.text_value) {
                        out.writeInt32(int32_t(r));
                        out.writeInt32(c);
                        out.writeByte(TextCell);
                        out.writeText(QByteArray(cell.value.text_value));
                    }
                    break;
                default:
                    break;
            }
        }
    }
    out.writeInt32(-1);
    return out.take();
}

QString notAWorkbook(const QString& path) {
    return QString::fromUtf8("文件 %1 不是可以读取的工作簿。").arg(path);
}

}  // namespace

CellTable XlsReader::read(const QString& path, const QString& sheetName, QStringList* sheetNames) {
    const QByteArray encodedPath = QFile::encodeName(path);
    QByteArray reply;
    const ChildRun::Outcome outcome = ChildRun::run(
        [&] { return readWorkbook(encodedPath, sheetName); }, ChildRun::Limits(), reply);
    if (outcome != ChildRun::Outcome::Done) throw FormatError(notAWorkbook(path));
    CellTable table;
    try {
        ArchiveReader in(reply);
        const int32_t status = in.readInt32();
        if (status == NotAWorkbook) throw FormatError(notAWorkbook(path));
        const int32_t count = in.readCount(1);
        QStringList names;
        for (int32_t i = 0; i < count; ++i) names << QString::fromUtf8(in.readText());
        if (sheetNames) *sheetNames = names;
        if (status == MissingSheet) throw FormatError(CellText::missingSheetMessage(sheetName));
        CellText text;
        for (;;) {
            const int32_t r = in.readInt32();
            if (r < 0) break;
            const int32_t c = in.readInt32();
            // BIFF8 sheets have at most 65,536 rows and 256 columns.
            if (r > 0xFFFF || c < 0 || c > 0xFF) throw FormatError(notAWorkbook(path));
            QByteArray value;
            switch (in.readByte()) {
                case IntCell: value = QByteArray::number(in.readInt32()); break;
                case DoubleCell: {
                    double number = 0;
                    std::memcpy(&number, in.readBytes(sizeof(double)).constData(), sizeof(double));
                    value = CellText::formatNumber(number).toLatin1();
                    break;
                }
                case TextCell: {
                    const QByteArray utf8 = in.readText();
                    value = text.utf8ToGbk(utf8.constData(), utf8.size(), r + 1, c + 1);
                    break;
                }
                default: throw FormatError(notAWorkbook(path));
            }
            table.set(r, c, std::move(value));
        }
    } catch (const FormatError& error) {
        // A reply cut short is a workbook the child could not read.
        if (error.message() == QString::fromUtf8(kBadFileText)) throw FormatError(notAWorkbook(path));
        throw;
    }
    return table;
}

}  // namespace pemo
