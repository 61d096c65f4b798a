#include "RecordExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QStringDecoder>
#include <cerrno>
#include <xlsxwriter.h>

#include "ExportSettings.h"
#include "XlsxReader.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/InfoRecord.h"
#include "core/platform/FileError.h"
#include "core/platform/Folders.h"
#include "core/platform/RuntimeLibrary.h"
#include "core/platform/SafeFile.h"

namespace pemo {

namespace {

bool isDiskFull(int error) {
#ifdef EDQUOT
    if (error == EDQUOT) return true;
#endif
    return error == ENOSPC || error == EFBIG;
}

// The workbook writer, opened when the first workbook is written: linked, it would bring
// its cryptography library into every start of the program.
struct WorkbookWriter {
    decltype(&workbook_new_opt) newWorkbook = nullptr;
    decltype(&workbook_close) close = nullptr;
    decltype(&workbook_add_worksheet) addWorksheet = nullptr;
    decltype(&worksheet_write_string) writeString = nullptr;
    decltype(&lxw_strerror) errorText = nullptr;

    static const WorkbookWriter& get() {
        static const WorkbookWriter writer = [] {
            static const RuntimeLibrary library("libxlsxwriter.so.4");
            WorkbookWriter w;
            w.newWorkbook = library.function<decltype(workbook_new_opt)>("workbook_new_opt");
            w.close = library.function<decltype(workbook_close)>("workbook_close");
            w.addWorksheet = library.function<decltype(workbook_add_worksheet)>("workbook_add_worksheet");
            w.writeString = library.function<decltype(worksheet_write_string)>("worksheet_write_string");
            w.errorText = library.function<decltype(lxw_strerror)>("lxw_strerror");
            if (!w.newWorkbook || !w.close || !w.addWorksheet || !w.writeString || !w.errorText) w = WorkbookWriter{};
            return w;
        }();
        return writer;
    }
};

// A workbook written by the library into a private folder in the temp folder, then, when
// it reads back whole, through SafeFile over its target. The library does not check
// every write of its own scratch files; reading the result back does.
class WorkbookFile {
public:
    WorkbookFile(const QString& path, const QString& sheetName)
        : path_(path), sheetName_(sheetName), folder_(tempFolder() + QStringLiteral("/workbook-XXXXXX")) {
        if (!folder_.isValid()) fail(folder_.errorString());
        scratch_ = QFile::encodeName(folder_.path());
        output_ = folder_.filePath(QStringLiteral("out.xlsx"));
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = scratch_.data();
        if (writer_.newWorkbook) workbook_ = writer_.newWorkbook(QFile::encodeName(output_).constData(), &options);
        if (!workbook_) fail(QString::fromUtf8("无法创建工作簿"));
    }
    ~WorkbookFile() {
        if (workbook_) writer_.close(workbook_);
    }
    WorkbookFile(const WorkbookFile&) = delete;
    WorkbookFile& operator=(const WorkbookFile&) = delete;

    lxw_workbook* workbook() const { return workbook_; }
    const WorkbookWriter& writer() const { return writer_; }

    [[noreturn]] void fail(const QString& reason) { throw IoError(SafeFile::failureText(path_, reason)); }
    void check(lxw_error error) {
        if (error != LXW_NO_ERROR) fail(QString::fromUtf8(writer_.errorText(error)));
    }

    // Closes the workbook, reads it back (rows rows, the header included) and writes it
    // over the target.
    void commit(int rows) {
        lxw_workbook* workbook = workbook_;
        workbook_ = nullptr;
        errno = 0;
        const lxw_error closed = writer_.close(workbook);
        const int closeError = errno;
        if (closed != LXW_NO_ERROR && isDiskFull(closeError)) fail(QString::fromUtf8("磁盘已满"));
        check(closed);
        QFile file(output_);
        QByteArray bytes;
        if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
        bool whole = false;
        try {
            whole = XlsxReader::read(bytes, sheetName_).rows.size() == size_t(rows);
        } catch (const FormatError&) {
            whole = false;
        }
        if (!whole) {
            fail(isDiskFull(closeError) ? QString::fromUtf8("磁盘已满")
                                        : QString::fromUtf8("工作簿没有完整写出"));
        }
        SafeFile::write(path_, bytes, true);
    }

private:
    const WorkbookWriter& writer_ = WorkbookWriter::get();
    QString path_;
    QString sheetName_;
    QTemporaryDir folder_;
    QByteArray scratch_;
    QString output_;
    lxw_workbook* workbook_ = nullptr;
};

// The text of a cell without the control characters a workbook cannot hold (all below
// 0x20 but tab and line feed, and DEL); NUL would end it early. changed is set when
// something went.
QByteArray cellText(const QString& text, bool& changed) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\t' && u != '\n') || u == 0x7F) {
            changed = true;
        } else {
            kept.append(c);
        }
    }
    return kept.toUtf8();
}

}  // namespace

void RecordExport::appendLine(QByteArray& out, const std::vector<QByteArray>& fields,
                              char separator) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out.append(separator);
        out.append('"');
        const QByteArray& value = fields[i];
        if (value.contains('"')) {
            // GBK's second bytes are 0x40 or above, so a 0x22 byte is always a quote.
            for (char c : value) {
                out.append(c);
                if (c == '"') out.append('"');
            }
        } else {
            out.append(value);
        }
        out.append('"');
    }
    out.append("\r\n", 2);
}

QByteArray RecordExport::text(const CPatDoc& doc, const std::vector<int>& targets, char separator,
                              Encoding encoding) {
    QByteArray out;
    std::vector<QByteArray> fields(targets.size());
    for (int r = 0; r < doc.recordCount(); ++r) {
        const InfoRecord& record = *doc.recordAt(r);
        for (size_t i = 0; i < targets.size(); ++i) fields[i] = record.value(targets[i]);
        appendLine(out, fields, separator);
    }
    if (encoding == Encoding::Gbk) return out;
    QStringDecoder decoder("GBK");
    const QString unicode = decoder.decode(out);
    return QByteArray("\xEF\xBB\xBF") + unicode.toUtf8();
}

void RecordExport::writeText(const CPatDoc& doc, const std::vector<int>& targets, char separator,
                             const QString& path, Encoding encoding) {
    SafeFile::write(path, text(doc, targets, separator, encoding), true);
}

int RecordExport::writeWorkbook(const CPatDoc& doc, const std::vector<int>& targets,
                                const QString& sheetName, const QString& path) {
    const QString problem = ExportSettings::sheetNameProblem(sheetName);
    if (!problem.isEmpty() || sheetName.isEmpty()) {
        throw FormatError(problem.isEmpty() ? QString::fromUtf8("在配置中，工作表名不能为空。") : problem);
    }
    WorkbookFile file(path, sheetName);
    lxw_worksheet* sheet = file.writer().addWorksheet(file.workbook(), sheetName.toUtf8().constData());
    if (!sheet) file.fail(QString::fromUtf8("无法创建工作表"));
    int cleaned = 0;
    int rows = 0;  // rows with a cell; those after the last are not in the file
    for (size_t c = 0; c < targets.size(); ++c) {
        bool changed = false;
        const QByteArray caption =
            cellText(Gbk::toUnicode(ExportSettings::caption(targets[c], doc.variableNames)), changed);
        cleaned += changed ? 1 : 0;
        if (caption.isEmpty()) continue;
        file.check(file.writer().writeString(sheet, 0, lxw_col_t(c), caption.constData(), nullptr));
        rows = 1;
    }
    QStringDecoder decoder("GBK");
    for (int r = 0; r < doc.recordCount(); ++r) {
        const InfoRecord& record = *doc.recordAt(r);
        for (size_t c = 0; c < targets.size(); ++c) {
            const QByteArray value = record.value(targets[c]);
            if (value.isEmpty()) continue;
            bool changed = false;
            const QByteArray utf8 = cellText(decoder.decode(value), changed);
            cleaned += changed ? 1 : 0;
            if (utf8.isEmpty()) continue;
            file.check(file.writer().writeString(sheet, lxw_row_t(r + 1), lxw_col_t(c),
                                                 utf8.constData(), nullptr));
            rows = r + 2;
        }
    }
    file.commit(rows);
    return cleaned;
}

QString RecordExport::cleanedCellsMessage(int cells) {
    return QString::fromUtf8("%1个单元格中有工作簿不能保存的控制字符，已去掉。").arg(cells);
}

QString RecordExport::workbookPath(const QString& chosen) {
    if (chosen.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive)) return chosen + QLatin1Char('x');
    return chosen;
}

}  // namespace pemo
