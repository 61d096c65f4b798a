#pragma once

#include <QIODevice>
#include <memory>

namespace pemo {

// Inflates one gzip member as it is read, taking at most packedSize bytes from source, so
// that neither the packed nor the inflated bytes are ever held whole. Opened read-only
// on construction; sequential.
class GunzipDevice : public QIODevice {
public:
    GunzipDevice(QIODevice& source, qint64 packedSize);
    ~GunzipDevice() override;

    bool isSequential() const override { return true; }
    // Inflates whatever is left, discarding it: true when the member ended, with its
    // CRC-32 and size checked, after exactly expectedSize bytes of content in all.
    bool finishExactly(qint64 expectedSize);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace pemo
