#pragma once

#include <QIODevice>
#include <memory>

namespace pemo {

// Deflates what is written to it into one gzip member on target as it comes, with the
// fixed header 1F 8B 08 00 00 00 00 00 00 0B that document files carry, at the default
// level; finish() adds the CRC-32 and size. The member is the same bytes, however the
// content is cut into writes. Opened write-only on construction; nothing reaches target
// before the first write (or finish).
class GzipDevice : public QIODevice {
public:
    explicit GzipDevice(QIODevice& target);
    ~GzipDevice() override;

    // False when zlib could not be set up; nothing is written then.
    bool isReady() const;
    bool isSequential() const override { return true; }
    // Ends the member; false when target refused bytes or deflating failed.
    bool finish();
    // Bytes taken in, and bytes of the member written to target so far.
    qint64 contentSize() const;
    qint64 packedSize() const;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool deflateSome(const char* data, qint64 size, int flush);

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace pemo
