// Little-endian numbers and variable-length integers over a byte buffer, for
// the replay file and its event stream. The reader never reads past its end:
// a short buffer sets its failure flag and yields zeros.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

class ByteWriter {
  public:
    explicit ByteWriter(std::vector<uint8_t>& out) : out_(out) {}

    void Byte(uint8_t value) { out_.push_back(value); }
    void U16(uint32_t value) {
        Byte(static_cast<uint8_t>(value));
        Byte(static_cast<uint8_t>(value >> 8));
    }
    void U32(uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) Byte(static_cast<uint8_t>(value >> shift));
    }
    void U64(uint64_t value) {
        U32(static_cast<uint32_t>(value));
        U32(static_cast<uint32_t>(value >> 32));
    }
    void Float(float value) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        U32(bits);
    }
    // Seven bits a byte, low first; the high bit says another byte follows.
    void Varint(uint32_t value) {
        while (value >= 0x80) {
            Byte(static_cast<uint8_t>(value | 0x80));
            value >>= 7;
        }
        Byte(static_cast<uint8_t>(value));
    }
    // Small magnitudes of either sign in few bytes.
    void Signed(int32_t value) {
        const uint32_t bits = static_cast<uint32_t>(value);
        Varint((bits << 1) ^ (value < 0 ? 0xFFFFFFFFu : 0u));
    }
    void Bytes(const uint8_t* data, size_t count) { out_.insert(out_.end(), data, data + count); }

  private:
    std::vector<uint8_t>& out_;
};

class ByteReader {
  public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Failed() const { return failed_; }
    bool AtEnd() const { return at_ >= size_; }
    size_t Position() const { return at_; }
    size_t Left() const { return size_ - at_; }

    uint8_t Byte() {
        if (at_ >= size_) {
            failed_ = true;
            return 0;
        }
        return data_[at_++];
    }
    uint32_t U16() {
        const uint32_t low = Byte();
        return low | static_cast<uint32_t>(Byte()) << 8;
    }
    uint32_t U32() {
        uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) value |= static_cast<uint32_t>(Byte()) << shift;
        return value;
    }
    uint64_t U64() {
        const uint64_t low = U32();
        return low | static_cast<uint64_t>(U32()) << 32;
    }
    float Float() {
        const uint32_t bits = U32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    uint32_t Varint() {
        uint32_t value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            const uint8_t byte = Byte();
            value |= static_cast<uint32_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80)) return value;
        }
        failed_ = true; // more than five bytes: not a 32-bit number
        return 0;
    }
    int32_t Signed() {
        const uint32_t bits = Varint();
        return static_cast<int32_t>((bits >> 1) ^ (0u - (bits & 1)));
    }
    const uint8_t* Take(size_t count) {
        if (count > Left()) {
            failed_ = true;
            at_ = size_;
            return nullptr;
        }
        const uint8_t* start = data_ + at_;
        at_ += count;
        return start;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
    bool failed_ = false;
};
