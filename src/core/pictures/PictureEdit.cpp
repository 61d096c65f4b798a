#include "PictureEdit.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "OutsideEditors.h"
#include "core/codecs/Picture.h"
#include "core/platform/FileError.h"
#include "core/platform/Folders.h"
#include "core/platform/SafeFile.h"

namespace pemo {

namespace {

constexpr int kPollMs = 200;

const PictureEdit* activeEdit = nullptr;

QByteArray hashOf(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// A started editor is detached (closing the edit must never close the editor), so its
// end is seen in /proc: gone, or a zombie nobody has collected yet.
bool processAlive(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return false;
    const char state = line.at(close + 2);
    return state != 'Z' && state != 'X';
}

}  // namespace

PictureEdit::PictureEdit(QObject* parent) : QObject(parent) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, [this] {
        watchProcess();
        check();
    });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &PictureEdit::check);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &PictureEdit::check);
}

PictureEdit::~PictureEdit() {
    if (waiting_)
        cancel();
}

bool PictureEdit::isEditing() {
    return activeEdit != nullptr;
}

bool PictureEdit::fail(const QString& text) {
    error_ = text;
    return false;
}

bool PictureEdit::start(const QString& program, const QString& source) {
    error_.clear();
    kept_.clear();
    if (activeEdit) {
        return fail(
            QString::fromUtf8("另一张图片正在外部编辑程序中编辑，请先完成或取消那次编辑。"));
    }
    const QString folder = folder_.isEmpty() ? tempFolder() : folder_;
    QDir().mkpath(folder);
    const QString copy = folder + QString::fromUtf8("/图象编辑") +
                         safeFileNamePart(OutsideEditors::extensionOf(source));

    // A copy left behind by an edit that never ended is removed, never taken back.
    const QFileInfo stale(copy);
    if (stale.exists() || stale.isSymLink())
        deleteFileForced(copy);
    if (QFileInfo::exists(copy) || QFileInfo(copy).isSymLink()) {
        return fail(QString::fromUtf8("无法删除旧的编辑副本 %1。").arg(copy));
    }

    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly)) {
        return fail(QString::fromUtf8("无法读取图片 %1：%2").arg(source, in.errorString()));
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        return fail(QString::fromUtf8("无法读取图片 %1：%2").arg(source, in.errorString()));
    }
    try {
        SafeFile::write(copy, bytes);
    } catch (const FileError& e) {
        QFile::remove(copy);
        return fail(e.message());
    }

    // Seen before the editor starts: an editor may change the copy at once.
    const QFileInfo info(copy);
    seenSize_ = info.size();
    seenTime_ = info.lastModified();

    QProcess process;
    process.setProgram(program);
    process.setArguments({copy});
    process.setWorkingDirectory(folder);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        deleteFileForced(copy);
        return fail(QString::fromUtf8("无法启动编辑程序 %1：%2")
                        .arg(OutsideEditors::displayName(program), process.errorString()));
    }

    source_ = source;
    workingCopy_ = copy;
    program_ = program;
    originalHash_ = hashOf(bytes);
    sourceIsPicture_ = !Picture::fromData(bytes, OutsideEditors::extensionOf(source)).isNull();
    pid_ = pid;
    changed_ = false;
    endedAfterChange_ = false;
    waiting_ = true;
    activeEdit = this;
    watcher_.addPath(folder);
    watcher_.addPath(copy);
    poll_.start();
    return true;
}

void PictureEdit::watchProcess() {
    if (pid_ <= 0 || processAlive(pid_))
        return;
    pid_ = 0;
    seenSize_ = -1;  // the bytes are compared whatever the file's size and time say
    check();
    endedAfterChange_ = changed_;
    emit editorEnded();
    emit stateChanged();
}

void PictureEdit::check() {
    if (!waiting_)
        return;
    const QFileInfo info(workingCopy_);
    // Editors that save by renaming a new file over the old one leave the watcher
    // without its file; it is watched again once it is back.
    if (info.exists() && !watcher_.files().contains(workingCopy_))
        watcher_.addPath(workingCopy_);
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime time = info.exists() ? info.lastModified() : QDateTime();
    if (size == seenSize_ && time == seenTime_)
        return;
    seenSize_ = size;
    seenTime_ = time;
    bool now = false;
    QFile file(workingCopy_);
    if (file.open(QIODevice::ReadOnly))
        now = hashOf(file.readAll()) != originalHash_;
    if (now == changed_)
        return;
    changed_ = now;
    emit stateChanged();
}

void PictureEdit::end() {
    waiting_ = false;
    poll_.stop();
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    if (activeEdit == this)
        activeEdit = nullptr;
}

void PictureEdit::cancel() {
    if (!waiting_)
        return;
    end();
    deleteFileForced(workingCopy_);
}

PictureEdit::Outcome PictureEdit::finish(const QString& target) {
    if (!waiting_)
        return Outcome::Unchanged;
    error_.clear();
    end();
    QFile file(workingCopy_);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = QString::fromUtf8("找不到编辑后的图片 %1，原图没有改动。").arg(workingCopy_);
        return Outcome::Failed;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    if (hashOf(bytes) == originalHash_) {
        deleteFileForced(workingCopy_);
        return Outcome::Unchanged;
    }

    QString problem;
    if (bytes.isEmpty() ||
        (sourceIsPicture_ &&
         Picture::fromData(bytes, OutsideEditors::extensionOf(source_)).isNull())) {
        problem = QString::fromUtf8("编辑后的文件不是可以读取的图片，原图没有改动。");
    } else {
        try {
            SafeFile::write(target.isEmpty() ? source_ : target, bytes, true);
            deleteFileForced(workingCopy_);
            return Outcome::Updated;
        } catch (const FileError& e) {
            problem = e.message();
        }
    }
    // The edit is kept where a later edit cannot overwrite it.
    const QFileInfo info(workingCopy_);
    const QString aside = info.absolutePath() + QString::fromUtf8("/图象编辑-") + newUniqueName() +
                          OutsideEditors::extensionOf(workingCopy_);
    kept_ = QFile::rename(workingCopy_, aside) ? aside : workingCopy_;
    error_ = problem + QLatin1Char('\n') + QString::fromUtf8("编辑后的图片保存在 %1。").arg(kept_);
    return Outcome::Failed;
}

}  // namespace pemo
