// Non-owning views of bytes and the big-endian encoding every packet uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvex {

class ByteView {
public:
    constexpr ByteView() = default;
    constexpr ByteView(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    ByteView(const std::vector<uint8_t> &bytes) : data_(bytes.data()), size_(bytes.size()) {}  // NOLINT

    constexpr const uint8_t *data() const { return data_; }
    constexpr size_t size() const { return size_; }
    constexpr bool empty() const { return size_ == 0; }
    constexpr const uint8_t *begin() const { return data_; }
    constexpr const uint8_t *end() const { return data_ + size_; }
    constexpr uint8_t operator[](size_t i) const { return data_[i]; }

private:
    const uint8_t *data_ = nullptr;
    size_t size_ = 0;
};

// Appends big-endian fields to a packet under construction.
inline void putU8(std::vector<uint8_t> &out, uint8_t v) { out.push_back(v); }
inline void putU16(std::vector<uint8_t> &out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}
inline void putU32(std::vector<uint8_t> &out, uint32_t v) {
    putU16(out, static_cast<uint16_t>(v >> 16));
    putU16(out, static_cast<uint16_t>(v));
}
inline void putBytes(std::vector<uint8_t> &out, ByteView bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

inline std::vector<uint8_t> be16(uint16_t v) { std::vector<uint8_t> b; putU16(b, v); return b; }
inline std::vector<uint8_t> be32(uint32_t v) { std::vector<uint8_t> b; putU32(b, v); return b; }

inline uint16_t getU16(const uint8_t *p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline uint32_t getU32(const uint8_t *p) {
    return (static_cast<uint32_t>(getU16(p)) << 16) | getU16(p + 2);
}

}  // namespace korvex
