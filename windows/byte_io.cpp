#include "windows/byte_io.h"

#include <cstring>

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

void ByteWriter::U32(uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out_.push_back(static_cast<uint8_t>(value >> shift));
}

void ByteWriter::ZeroText(std::string_view text) {
  out_.insert(out_.end(), text.begin(), text.end());
  out_.push_back(0);
}

void ByteWriter::CountedText(std::string_view text) {
  U32(static_cast<uint32_t>(text.size()));
  out_.insert(out_.end(), text.begin(), text.end());
}

void ByteWriter::Block(std::span<const uint8_t> bytes) {
  U32(static_cast<uint32_t>(bytes.size()));
  Bytes(bytes);
}

void ByteWriter::Bytes(std::span<const uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }

void ByteWriter::PatchU32(size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) out_[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace vorrik
