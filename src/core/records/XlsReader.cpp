#include "XlsReader.h"

#include <QFile>
#include <cstring>
#include <freexl.h>

#include "CellText.h"
#include "core/codecs/Archive.h"

namespace pemo {

namespace {

// Closes the workbook however the read ends.
class FreexlHandle {
public:
    explicit FreexlHandle(const QString& path) {
        if (freexl_open(QFile::encodeName(path).constData(), &handle_) != FREEXL_OK) {
            close();
        }
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

QString notAWorkbook(const QString& path) {
    return QString::fromUtf8("文件 %1 不是可以读取的工作簿。").arg(path);
}

}  // namespace

CellTable XlsReader::read(const QString& path, const QString& sheetName, QStringList* sheetNames) {
    FreexlHandle workbook(path);
    const void* xls = workbook.get();
    unsigned int info = 0;
    if (!xls || freexl_get_info(xls, FREEXL_BIFF_PASSWORD, &info) != FREEXL_OK ||
        info == FREEXL_BIFF_OBFUSCATED) {
        throw FormatError(notAWorkbook(path));
    }
    unsigned int sheetCount = 0;
    freexl_get_info(xls, FREEXL_BIFF_SHEET_COUNT, &sheetCount);
    QStringList names;
    for (unsigned int i = 0; i < sheetCount && i <= 0xFFFF; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(xls, static_cast<unsigned short>(i), &name) != FREEXL_OK) {
            throw FormatError(notAWorkbook(path));
        }
        names << QString::fromUtf8(name ? name : "");
    }
    if (sheetNames) *sheetNames = names;
    const int index = CellText::findSheet(names, sheetName);
    if (index < 0) throw FormatError(CellText::missingSheetMessage(sheetName));

    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(xls, static_cast<unsigned short>(index)) != FREEXL_OK ||
        freexl_worksheet_dimensions(xls, &rows, &columns) != FREEXL_OK) {
        throw FormatError(notAWorkbook(path));
    }
    CellTable table;
    CellText text;
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell{};
            if (freexl_get_cell_value(xls, r, c, &cell) != FREEXL_OK) continue;
            QByteArray value;
            switch (cell.type) {
                case FREEXL_CELL_INT:
                    value = QByteArray::number(cell.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    value = CellText::formatNumber(cell.value.double_value).toLatin1();
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    if (cell.value.text_value) {
                        value = text.utf8ToGbk(cell.value.text_value,
                                               qsizetype(std::strlen(cell.value.text_value)),
                                               int(r) + 1, int(c) + 1);
                    }
                    break;
                default:
                    break;
            }
            if (!value.isEmpty()) table.set(int(r), int(c), std::move(value));
        }
    }
    // Empty rows and columns after the last cell with a value are not part of the table.
    return table;
}

}  // namespace pemo
