// Little-endian reading with a bounds check on every read, and the matching
// writer. Portable: the program, the build tools and the tests share it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorrik {

// A failed read (past the end) makes the reader fail for good; every later
// read returns zero or empty, and ok() tells the caller once at the end.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

  uint32_t U32();
  int32_t I32() { return static_cast<int32_t>(U32()); }
  std::string_view ZeroText();          // GBK bytes up to a NUL, NUL consumed
  std::string_view CountedText();       // u32 n then n bytes; n <= 0 is empty
  std::span<const uint8_t> Block();     // u32 n then n bytes
  std::span<const uint8_t> Bytes(size_t count);
  std::span<const uint8_t> Rest();

  bool ok() const { return ok_; }
  size_t Position() const { return pos_; }
  size_t Remaining() const { return ok_ ? data_.size() - pos_ : 0; }

 private:
  bool Need(size_t count);
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  bool ok_ = true;
};

class ByteWriter {
 public:
  void U32(uint32_t value);
  void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
  void ZeroText(std::string_view text);
  void CountedText(std::string_view text);
  void Block(std::span<const uint8_t> bytes);
  void Bytes(std::span<const uint8_t> bytes);
  void PatchU32(size_t offset, uint32_t value);

  size_t Size() const { return out_.size(); }
  std::vector<uint8_t>& Data() { return out_; }
  std::vector<uint8_t> Take() { return std::move(out_); }

 private:
  std::vector<uint8_t> out_;
};

uint32_t LoadU32(const uint8_t* p);

}  // namespace vorrik
