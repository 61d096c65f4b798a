#pragma once

#include <QByteArray>
#include <QIODevice>

namespace pemo {

// One entry of a ZIP archive held in memory, inflated as it is read, so a large part
// never has to be held whole. Refused at opening (the device does not open) when the
// archive is damaged, the entry is missing, encrypted, neither stored nor deflated,
// declares more than maxSize bytes, or, being larger than kRatioFloor, declares more
// than maxRatio times its compressed size (a "zip bomb"). Reading stops with an error
// when more comes out than declared; complete() tells, once everything has been read,
// whether the entry matched its declared size and CRC-32.
class ZipEntryStream : public QIODevice {
public:
    struct Limits {
        qsizetype maxSize = 0;
        int maxRatio = 0;  // 0: any ratio
    };
    // Small entries may compress better than any limit would allow (a run of spaces).
    static constexpr qsizetype kRatioFloor = 1024 * 1024;

    // The entry called name, or the first entry when name is null. The archive must
    // outlive the stream.
    ZipEntryStream(const QByteArray& archive, const QByteArray* name, Limits limits);
    ~ZipEntryStream() override;
    ZipEntryStream(const ZipEntryStream&) = delete;
    ZipEntryStream& operator=(const ZipEntryStream&) = delete;

    // minizip's view of the archive (the stream's own).
    struct Source {
        const QByteArray* data = nullptr;
        qsizetype pos = 0;
    };

    bool isSequential() const override { return true; }
    bool atEnd() const override;
    qint64 declaredSize() const { return declared_; }
    bool complete() const { return complete_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    void finish();

    Source source_;
    void* zip_ = nullptr;  // unzFile
    bool entryOpen_ = false;
    qint64 declared_ = 0;
    qint64 produced_ = 0;
    bool ended_ = false;
    bool complete_ = false;
};

}  // namespace pemo
