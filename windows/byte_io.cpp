#include "windows/byte_io.h"

namespace vorrik {

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
