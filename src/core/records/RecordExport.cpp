#include "RecordExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <xlsxwriter.h>

#include "ExportSettings.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/InfoRecord.h"
#include "core/platform/FileError.h"
#include "core/platform/SafeFile.h"

namespace pemo {

namespace {

// A workbook being written into a temporary file beside its target.
class WorkbookFile {
public:
    explicit WorkbookFile(const QString& path) : path_(path) {
        QTemporaryFile temporary(QFileInfo(path).absolutePath() + QStringLiteral("/.pemo-XXXXXX.xlsx"));
        temporary.setAutoRemove(false);
        if (!temporary.open()) throw IoError(SafeFile::failureText(path, temporary.errorString()));
        temporaryPath_ = temporary.fileName();
        temporary.close();
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        workbook_ = workbook_new_opt(QFile::encodeName(temporaryPath_).constData(), &options);
        if (!workbook_) fail(QString::fromUtf8("无法创建工作簿"));
    }
    ~WorkbookFile() {
        if (workbook_) workbook_close(workbook_);
        if (!temporaryPath_.isEmpty()) QFile::remove(temporaryPath_);
    }
    WorkbookFile(const WorkbookFile&) = delete;
    WorkbookFile& operator=(const WorkbookFile&) = delete;

    lxw_workbook* workbook() const { return workbook_; }

    [[noreturn]] void fail(const QString& reason) { throw IoError(SafeFile::failureText(path_, reason)); }
    void check(lxw_error error) {
        if (error != LXW_NO_ERROR) fail(QString::fromUtf8(lxw_strerror(error)));
    }

    // Writes the file out and renames it over the target.
    void commit() {
        lxw_workbook* workbook = workbook_;
        workbook_ = nullptr;
        check(workbook_close(workbook));
        // The temporary file is private; the workbook gets the old file's permissions, or
        // those of any new file.
        const QFileInfo old(path_);
        if (old.isFile()) {
            QFile::setPermissions(temporaryPath_, old.permissions());
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::chmod(QFile::encodeName(temporaryPath_).constData(), 0666 & ~mask);
        }
        if (std::rename(QFile::encodeName(temporaryPath_).constData(),
                        QFile::encodeName(path_).constData()) != 0) {
            fail(QString::fromLocal8Bit(std::strerror(errno)));
        }
        temporaryPath_.clear();
    }

private:
    QString path_;
    QString temporaryPath_;
    lxw_workbook* workbook_ = nullptr;
};

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

void RecordExport::writeWorkbook(const CPatDoc& doc, const std::vector<int>& targets,
                                 const QString& sheetName, const QString& path) {
    const QString problem = ExportSettings::sheetNameProblem(sheetName);
    if (!problem.isEmpty() || sheetName.isEmpty()) {
        throw FormatError(problem.isEmpty() ? QString::fromUtf8("在配置中，工作表名不能为空。") : problem);
    }
    WorkbookFile file(path);
    lxw_worksheet* sheet = workbook_add_worksheet(file.workbook(), sheetName.toUtf8().constData());
    if (!sheet) file.fail(QString::fromUtf8("无法创建工作表"));
    for (size_t c = 0; c < targets.size(); ++c) {
        const QByteArray caption =
            Gbk::toUnicode(ExportSettings::caption(targets[c], doc.variableNames)).toUtf8();
        file.check(worksheet_write_string(sheet, 0, lxw_col_t(c), caption.constData(), nullptr));
    }
    QStringDecoder decoder("GBK");
    for (int r = 0; r < doc.recordCount(); ++r) {
        const InfoRecord& record = *doc.recordAt(r);
        for (size_t c = 0; c < targets.size(); ++c) {
            const QByteArray value = record.value(targets[c]);
            if (value.isEmpty()) continue;
            const QByteArray utf8 = QString(decoder.decode(value)).toUtf8();
            file.check(worksheet_write_string(sheet, lxw_row_t(r + 1), lxw_col_t(c),
                                              utf8.constData(), nullptr));
        }
    }
    file.commit();
}

QString RecordExport::workbookPath(const QString& chosen) {
    if (chosen.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive)) return chosen + QLatin1Char('x');
    return chosen;
}

}  // namespace pemo
