// A picture saved as PNG, uncompressed inside (stored deflate blocks): any
// viewer opens it, and a few lines write it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vorrik::test {

// pixels: top-down rows of 0x00RRGGBB. False when the file cannot be written.
bool SavePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);

}  // namespace vorrik::test
