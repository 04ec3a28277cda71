#include "skinengine/kept_skin.h"

#include <cstring>

namespace vorrik::engine {

bool HeapBlock::Allocate(size_t size) {
  Reset();
  data_ = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, size ? size : 1));
  return data_ != nullptr;
}

void HeapBlock::Reset() {
  if (data_) HeapFree(GetProcessHeap(), 0, data_);
  data_ = nullptr;
}

bool KeptSkin::Keep(const skin::SkinView& view, const char* excludedClasses, uint32_t flags) {
  Clear();
  const size_t classesLength = excludedClasses ? std::strlen(excludedClasses) : 0;
  size_t total = classesLength + 1;
  for (const skin::Image& image : view.images) total += image.pixels.size();
  if (!storage_.Allocate(total)) return false;

  uint8_t* next = storage_.get();
  for (uint32_t role = 0; role < skin::kImageRoleLimit; ++role) {
    const skin::Image& image = view.images[role];
    if (!image.present()) continue;
    std::memcpy(next, image.pixels.data(), image.pixels.size());
    images_[role] = {image.format, image.width, image.height, next};
    next += image.pixels.size();
  }
  if (classesLength) std::memcpy(next, excludedClasses, classesLength);
  next[classesLength] = '\0';
  excludedClasses_ = reinterpret_cast<const char*>(next);

  for (uint32_t i = 0; i < skin::kColourCount; ++i) colours_[i] = view.colours[i];
  for (uint32_t i = 0; i < skin::kMetricCount; ++i) metrics_[i] = view.metrics[i];
  flags_ = flags;
  attached_ = true;
  return true;
}

void KeptSkin::Clear() {
  attached_ = false;
  for (KeptImage& image : images_) image = {};
  excludedClasses_ = "";
  flags_ = 0;
  storage_.Reset();
}

uint32_t KeptSkin::Colour(uint32_t entry) const {
  return attached_ && entry < skin::kColourCount ? colours_[entry] : kNoColour;
}

int32_t KeptSkin::Metric(uint32_t metric) const {
  return attached_ && metric < skin::kMetricCount ? metrics_[metric] : -1;
}

const KeptImage* KeptSkin::Image(uint32_t role) const {
  if (!attached_ || role >= skin::kImageRoleLimit || !images_[role].pixels) return nullptr;
  return &images_[role];
}

}  // namespace vorrik::engine
