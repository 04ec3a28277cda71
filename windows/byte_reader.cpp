// The reading half of byte_io.h, on its own so that a user of the reader
// alone (the skin engine) links no allocating code.
#include <cstring>

#include "windows/byte_io.h"

namespace vorrik {

uint32_t LoadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool ByteReader::Need(size_t count) {
  if (ok_ && count <= data_.size() - pos_) return true;
  ok_ = false;
  return false;
}

uint32_t ByteReader::U32() {
  if (!Need(4)) return 0;
  uint32_t value = LoadU32(data_.data() + pos_);
  pos_ += 4;
  return value;
}

std::string_view ByteReader::ZeroText() {
  if (!ok_) return {};
  const uint8_t* start = data_.data() + pos_;
  const void* nul = std::memchr(start, 0, data_.size() - pos_);
  if (!nul) {
    ok_ = false;
    return {};
  }
  size_t length = static_cast<const uint8_t*>(nul) - start;
  pos_ += length + 1;
  return {reinterpret_cast<const char*>(start), length};
}

std::string_view ByteReader::CountedText() {
  int32_t length = I32();
  if (length <= 0) return {};
  auto bytes = Bytes(static_cast<size_t>(length));
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::span<const uint8_t> ByteReader::Block() { return Bytes(U32()); }

std::span<const uint8_t> ByteReader::Bytes(size_t count) {
  if (!Need(count)) return {};
  auto bytes = data_.subspan(pos_, count);
  pos_ += count;
  return bytes;
}

std::span<const uint8_t> ByteReader::Rest() { return ok_ ? Bytes(data_.size() - pos_) : std::span<const uint8_t>(); }

}  // namespace vorrik
