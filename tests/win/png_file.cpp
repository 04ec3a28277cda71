#include "tests/win/png_file.h"

#include <array>
#include <cstdio>

namespace vorrik::test {
namespace {

uint32_t Crc(const uint8_t* data, size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBig32(out, uint32_t(data.size()));
  std::vector<uint8_t> typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  out.insert(out.end(), typed.begin(), typed.end());
  PutBig32(out, Crc(typed.data(), typed.size()));
}

// A zlib stream of stored blocks.
std::vector<uint8_t> Stored(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t size = std::min<size_t>(65535, raw.size() - at);
    const bool last = at + size == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(uint8_t(size));
    out.push_back(uint8_t(size >> 8));
    out.push_back(uint8_t(~size));
    out.push_back(uint8_t(~size >> 8));
    out.insert(out.end(), raw.begin() + at, raw.begin() + at + size);
    at += size;
  } while (at < raw.size());
  uint32_t a = 1, b = 0;  // Adler-32
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBig32(out, b << 16 | a);
  return out;
}

}  // namespace

bool SavePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
  if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * height) return false;
  std::vector<uint8_t> raw;
  raw.reserve(size_t(height) * (1 + size_t(width) * 3));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width; ++x) {
      const uint32_t p = pixels[size_t(y) * width + x];
      raw.push_back(uint8_t(p >> 16));
      raw.push_back(uint8_t(p >> 8));
      raw.push_back(uint8_t(p));
    }
  }
  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBig32(header, uint32_t(width));
  PutBig32(header, uint32_t(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", Stored(raw));
  PutChunk(file, "IEND", {});
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}

}  // namespace vorrik::test
